// File watches: a cheap way to know that a file, its folder and the folders on
// the way to it did not change, so a caller can trust what it read without
// asking for the file's stamp.
// Linux reports every change made through the local kernel (inotify); the
// watch lives as long as the process, across restarts of the services.
#include <unistd.h>

#include <chrono>
#include <string>
#include <unordered_map>
#include <vector>

#include "media/media.h"

#ifdef __linux__

#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <algorithm>

namespace {

// Kernels report the changes of local file systems only; a network or FUSE
// file system would not tell about edits made elsewhere.
bool local_file_system(const std::string& folder) {
    struct statfs info;
    if (statfs(folder.c_str(), &info) != 0) return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0xEF53UL:       // ext2, ext3, ext4
    case 0x58465342UL:   // xfs
    case 0x9123683EUL:   // btrfs
    case 0x01021994UL:   // tmpfs
    case 0xF2F52010UL:   // f2fs
    case 0x2FC12FC1UL:   // zfs
    case 0x794C7630UL:   // overlayfs
    case 0x4D44UL:       // vfat
    case 0x2011BAB0UL:   // exfat
    case 0x5346544EUL:   // ntfs
        return true;
    default:
        return false;
    }
}

// The folder and every folder the path passes through, nearest first: a
// folder on the way renamed or replaced changes what the path names.
std::vector<std::string> folders_on_the_way(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder.empty()) return {std::string(".")};
    std::vector<std::string> chain{folder};
    while (true) {
        const size_t slash = folder.rfind('/');
        if (slash == std::string::npos) {
            if (folder != ".") chain.push_back(".");   // relative to the current folder
            return chain;
        }
        if (slash == 0) {
            if (folder != "/") chain.push_back("/");
            return chain;
        }
        folder.resize(slash);
        chain.push_back(folder);
    }
}

struct path_watch {
    bool watched = false;        // the folders on the way are watched
    bool file_watched = false;   // the file the path names now, if any
    uint64_t generation = 0;
    std::chrono::steady_clock::time_point retry{};   // of a path that could not be watched
};

struct guard {
    path_watch* watch;
    bool folder;
};

struct watch_set {
    int fd = -1;   // -2: no inotify here
    std::unordered_map<std::string, path_watch> paths;
    // Watch descriptor -> the paths it guards (the kernel gives one
    // descriptor per file or folder, shared by every path through it).
    std::unordered_map<int, std::vector<guard>> guards;
};

watch_set& watches() {
    static watch_set set;
    return set;
}

uint64_t last_generation = 0;

void add_guard(watch_set& set, int descriptor, path_watch& watch, bool folder) {
    std::vector<guard>& guarded = set.guards[descriptor];
    for (const guard& g : guarded)
        if (g.watch == &watch) return;
    guarded.push_back({&watch, folder});
}

bool watch_folders(watch_set& set, const std::string& folder, path_watch& watch) {
    const std::vector<std::string> chain = folders_on_the_way(folder);
    std::vector<int> descriptors;
    for (size_t i = 0; i < chain.size(); ++i) {
        struct stat info;
        // A link on the way could be pointed elsewhere without a word to us.
        if (lstat(chain[i].c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
        if (!local_file_system(chain[i])) return false;
        const int descriptor = inotify_add_watch(
            set.fd, chain[i].c_str(),
            IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB | IN_DELETE_SELF |
                IN_MOVE_SELF | IN_ONLYDIR | IN_MASK_ADD);
        if (descriptor < 0) return false;
        descriptors.push_back(descriptor);
    }
    for (int descriptor : descriptors) add_guard(set, descriptor, watch, true);
    return true;
}

// The file's own watch sees writes through any of its names; the folder's
// only those made through this one.
void watch_file(watch_set& set, const std::string& file, path_watch& watch) {
    const int descriptor = inotify_add_watch(
        set.fd, file.c_str(),
        IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF | IN_MASK_ADD);
    // A missing file: its folder tells when it appears.
    if (descriptor >= 0) add_guard(set, descriptor, watch, false);
    watch.file_watched = true;
}

void read_events(watch_set& set) {
    // Asking how much is queued costs less than a read that finds nothing,
    // and this runs at every call.
    int queued = 0;
    if (ioctl(set.fd, FIONREAD, &queued) == 0 && queued <= 0) return;
    alignas(inotify_event) char buffer[4096];
    while (true) {
        const ssize_t length = read(set.fd, buffer, sizeof buffer);
        if (length <= 0) return;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                // Events were lost, removed folders among them: start afresh.
                for (auto& [path, watch] : set.paths) watch.watched = false;
                continue;
            }
            auto guarded = set.guards.find(event->wd);
            if (guarded == set.guards.end()) continue;
            const bool gone = event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF);
            for (const guard& g : guarded->second) {
                g.watch->generation = ++last_generation;
                // The path may name another file now, or lead through
                // another folder: look again at the next call.
                g.watch->file_watched = false;
                if (gone && g.folder) g.watch->watched = false;
            }
            if (event->mask & IN_IGNORED) set.guards.erase(guarded);
        }
    }
}

std::string folder_of(const std::string& file) {
    const size_t slash = file.rfind('/');
    if (slash == std::string::npos) return ".";
    return file.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

uint64_t file_generation(const std::string& path) {
    watch_set& set = watches();
    if (set.fd == -2) return 0;
    if (set.fd == -1) {
        set.fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (set.fd < 0) {
            set.fd = -2;
            return 0;
        }
    }
    read_events(set);
    path_watch& watch = set.paths[path];
    if (watch.watched && watch.file_watched) return watch.generation;
    const std::string native = native_path(path);
    if (!watch.watched) {
        // Setting the watches up costs a few calls per folder on the way: a
        // path that cannot be watched (yet) is tried again a second later.
        const auto now = std::chrono::steady_clock::now();
        if (now < watch.retry) return 0;
        if (!watch_folders(set, folder_of(native), watch)) {
            watch.retry = now + std::chrono::seconds(1);
            return 0;
        }
        watch.watched = true;
    }
    watch_file(set, native, watch);
    watch.generation = ++last_generation;
    return watch.generation;
}

#else

uint64_t file_generation(const std::string&) { return 0; }

#endif
