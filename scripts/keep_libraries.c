/* Preloaded into the sanitizer runs (scripts/sanitize.sh, scripts/soak.sh):
   libraries stay loaded until the program ends, so that a leak report at the
   end can still name the library that leaked and scripts/sanitize.supp can
   set the system's own leaks aside. */
int dlclose(void* handle) {
    (void)handle;
    return 0;
}
