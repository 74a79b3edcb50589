// Folder watches: a cheap way to know that nothing in a folder changed, so a
// caller can trust what it read from there without asking for every file.
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

struct folder_watch {
    bool watched = false;
    uint64_t generation = 0;
    std::chrono::steady_clock::time_point retry{};   // of a folder that could not be watched
};

struct watch_set {
    int fd = -1;   // -2: no inotify here
    std::unordered_map<std::string, folder_watch> folders;
    // Watch descriptor -> the folders it guards (the kernel gives one
    // descriptor per folder, shared by every path through it).
    std::unordered_map<int, std::vector<folder_watch*>> guards;
};

watch_set& watches() {
    static watch_set set;
    return set;
}

uint64_t last_generation = 0;

bool start_watch(watch_set& set, const std::string& folder, folder_watch& watch) {
    const std::vector<std::string> chain = folders_on_the_way(native_path(folder));
    std::vector<int> descriptors;
    for (size_t i = 0; i < chain.size(); ++i) {
        struct stat info;
        // A link on the way could be pointed elsewhere without a word to us.
        if (lstat(chain[i].c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
        if (!local_file_system(chain[i])) return false;
        uint32_t mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB |
                        IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_MASK_ADD;
        if (i == 0) mask |= IN_MODIFY | IN_CLOSE_WRITE;
        const int descriptor = inotify_add_watch(set.fd, chain[i].c_str(), mask);
        if (descriptor < 0) return false;
        descriptors.push_back(descriptor);
    }
    for (int descriptor : descriptors) {
        std::vector<folder_watch*>& guarded = set.guards[descriptor];
        if (std::find(guarded.begin(), guarded.end(), &watch) == guarded.end())
            guarded.push_back(&watch);
    }
    watch.watched = true;
    watch.generation = ++last_generation;
    return true;
}

void read_events(watch_set& set) {
    alignas(inotify_event) char buffer[4096];
    while (true) {
        const ssize_t length = read(set.fd, buffer, sizeof buffer);
        if (length <= 0) return;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                // Events were lost, removed folders among them: start afresh.
                for (auto& [name, watch] : set.folders) watch.watched = false;
                continue;
            }
            auto guarded = set.guards.find(event->wd);
            if (guarded == set.guards.end()) continue;
            const bool gone = event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF);
            for (folder_watch* watch : guarded->second) {
                watch->generation = ++last_generation;
                if (gone) watch->watched = false;   // the path may name another folder now
            }
            if (event->mask & IN_IGNORED) set.guards.erase(guarded);
        }
    }
}

}  // namespace

uint64_t folder_generation(const std::string& folder) {
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
    folder_watch& watch = set.folders[folder];
    if (!watch.watched) {
        // Setting a watch up costs a few calls per folder on the way: a folder
        // that cannot be watched (yet) is tried again a second later.
        const auto now = std::chrono::steady_clock::now();
        if (now < watch.retry) return 0;
        if (!start_watch(set, folder, watch)) {
            watch.retry = now + std::chrono::seconds(1);
            return 0;
        }
    }
    return watch.generation;
}

#else

uint64_t folder_generation(const std::string&) { return 0; }

#endif
