// The player's folder (profiles, log, high-score file) is kept in the
// browser's IndexedDB: copied into the page's file system before the game
// starts, and back after every save (the game calls keepSavedFiles).
// /libsdl is where SDL puts a program's own folder in a browser.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  FS.mkdir('/libsdl');
  FS.mount(IDBFS, {}, '/libsdl');
  addRunDependency('saved-files');
  FS.syncfs(true, function (error) {
    if (error) err('the saved files could not be read: ' + error);
    removeRunDependency('saved-files');
  });
});

// One copy at a time; saves made during a copy get one more after it.
var savingFiles = false;
var saveAgain = false;
Module.keepSavedFiles = function () {
  if (savingFiles) {
    saveAgain = true;
    return;
  }
  savingFiles = true;
  FS.syncfs(false, function done(error) {
    if (error) err('the saved files could not be stored: ' + error);
    if (saveAgain) {
      saveAgain = false;
      FS.syncfs(false, done);
      return;
    }
    savingFiles = false;
    if (Module.onFilesKept) Module.onFilesKept();
  });
};
