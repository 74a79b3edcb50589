// Text files and folder scans. The game builds paths with "\"; POSIX wants "/".
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "media/media_internal.h"

#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

namespace media {

#ifdef __EMSCRIPTEN__
// The page's shell mounts the player's folder on IndexedDB and copies it back
// before the game starts; the copy to the browser's storage is asynchronous.
void keep_saved_files() { EM_ASM(Module.keepSavedFiles()); }
#else
void keep_saved_files() {}
#endif

namespace {

// C streams must be repositioned between reading and writing.
void switch_to(file_record& record, bool writing) {
    if (record.writing != writing) std::fseek(record.file, 0, SEEK_CUR);
    record.writing = writing;
}

bool is_folder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool is_plain_file(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

void close_file_objects() {
    media_state& s = state();
    s.files.each([](file_record& record) { std::fclose(record.file); });
    s.files.clear();
    s.scans.clear();
}

}  // namespace media

using namespace media;

std::string native_path(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

std::string current_directory() {
    std::string buffer(4096, '\0');
    if (!getcwd(buffer.data(), buffer.size())) return "";
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

int open_read(const std::string& path) {
    std::string native = native_path(path);
    // fopen would take a folder and fail later; a pipe named in a pack would
    // wait for a writer for ever, a device never end.
    if (!is_plain_file(native)) return 0;
    FILE* file = std::fopen(native.c_str(), "rb");
    if (!file) return 0;
    return state().files.add({file, false});
}

std::string read_line(int file) {
    file_record* record = state().files.find(file);
    if (!record) return "";
    switch_to(*record, false);
    FILE* f = record->file;
    std::string line;
    int c;
    while (record->read_bytes < text_file_limit && (c = getc_unlocked(f)) != EOF) {
        ++record->read_bytes;
        if (c == '\n') break;
        if (c == '\r') {   // CR alone or CR LF: one break either way
            int next = getc_unlocked(f);
            if (next == '\n')
                ++record->read_bytes;
            else if (next != EOF)
                ungetc(next, f);
            break;
        }
        if (line.size() < size_t(text_line_limit)) line += static_cast<char>(c);
    }
    return line;
}

bool end_of_file(int file) {
    file_record* record = state().files.find(file);
    if (!record) return false;
    if (record->read_bytes >= text_file_limit) return true;
    switch_to(*record, false);
    int c = getc(record->file);
    if (c == EOF) return true;
    ungetc(c, record->file);
    return false;
}

int open_read_write(const std::string& path) {
    std::string native = native_path(path);
    if (is_folder(native)) return 0;
    FILE* file = std::fopen(native.c_str(), "r+b");
    if (!file && errno == ENOENT) file = std::fopen(native.c_str(), "w+b");
    if (!file) return 0;
    return state().files.add({file, false});
}

int open_append(const std::string& path) {
    std::string native = native_path(path);
    if (is_folder(native)) return 0;
    FILE* file = std::fopen(native.c_str(), "ab");
    if (!file) return 0;
    return state().files.add({file, true});
}

void write_string(int file, const std::string& text) {
    file_record* record = state().files.find(file);
    if (!record) return;
    switch_to(*record, true);
    record->changed = true;
    std::fwrite(text.data(), 1, text.size(), record->file);
}

void write_line(int file, const std::string& text) { write_string(file, text + "\r\n"); }

void close_file(int file) {
    media_state& s = state();
    file_record* record = s.files.find(file);
    if (!record) return;
    std::fclose(record->file);
    const bool changed = record->changed;
    s.files.erase(file);
    if (changed) keep_saved_files();
}

long long file_size(const std::string& path) {
    struct stat info;
    if (stat(native_path(path).c_str(), &info) != 0) return -1;
    if (S_ISDIR(info.st_mode)) return -2;
    return static_cast<long long>(info.st_size);
}

namespace {

long long disk_room = -1;   // bytes left on a simulated full disk; -1 none

bool write_all(int fd, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        size_t want = bytes.size() - done;
        if (disk_room >= 0 && static_cast<long long>(want) > disk_room) {
            want = static_cast<size_t>(disk_room);
            if (want == 0) {
                errno = ENOSPC;
                return false;
            }
        }
        const ssize_t wrote = ::write(fd, bytes.data() + done, want);
        if (wrote > 0 && disk_room >= 0) disk_room -= wrote;
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += static_cast<size_t>(wrote);
    }
    return true;
}

enum class outcome { written, failed, unsupported };

// A file with no name in the folder, named once it is whole: a crash leaves
// nothing behind at all.
outcome write_unnamed_then_link(const std::string& folder, const std::string& native,
                                const std::string& bytes, bool to_disk) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                          0644);
    if (fd < 0) {
        const bool unsupported = errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL;
        return unsupported ? outcome::unsupported : outcome::failed;
    }
    if (!write_all(fd, bytes) || (to_disk && ::fsync(fd) != 0)) {
        ::close(fd);
        return outcome::failed;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    // A link refuses a name that exists, where a rename would replace it.
    const bool linked =
        ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, native.c_str(), AT_SYMLINK_FOLLOW) == 0;
    const int why = errno;
    ::close(fd);
    if (linked) return outcome::written;
    return why == ENOENT && ::access("/proc/self/fd", F_OK) != 0 ? outcome::unsupported
                                                               : outcome::failed;
}

// The same through a named temporary file, where unnamed ones are not to be had.
bool write_temporary_then_link(const std::string& folder, const std::string& name,
                               const std::string& native, const std::string& bytes,
                               bool to_disk) {
    // The ending keeps it out of every pattern the game scans for.
    const std::string temporary =
        folder + "." + name + "." + std::to_string(getpid()) + ".partial";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = write_all(fd, bytes) && (!to_disk || ::fsync(fd) == 0);
    ok = ::close(fd) == 0 && ok;
    if (ok && ::link(temporary.c_str(), native.c_str()) != 0) {
        const int why = errno;
        bool no_links = why == EPERM || why == ENOTSUP || why == ENOSYS || why == EXDEV;
#ifdef __EMSCRIPTEN__
        no_links = no_links || why == EMLINK;   // what the browser's file system answers
#endif
        // File systems without hard links: check, then rename.
        ok = no_links && ::access(native.c_str(), F_OK) != 0 &&
             ::rename(temporary.c_str(), native.c_str()) == 0;
    }
    ::unlink(temporary.c_str());
    return ok;
}

}  // namespace

void simulate_full_disk_after(long long bytes) { disk_room = bytes < 0 ? -1 : bytes; }

bool write_new_file(const std::string& path, const std::string& bytes, bool to_disk) {
    const std::string native = native_path(path);
    const size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : native.substr(0, slash + 1);
    const std::string name = native.substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.empty()) return false;
    const outcome unnamed = write_unnamed_then_link(folder, native, bytes, to_disk);
    const bool written = unnamed == outcome::unsupported
                             ? write_temporary_then_link(folder, name, native, bytes, to_disk)
                             : unnamed == outcome::written;
    if (written) keep_saved_files();
    return written;
}

bool read_file_stamp(const std::string& path, file_stamp& stamp) {
    const std::string native = native_path(path);
    struct stat info;
    if (lstat(native.c_str(), &info) != 0) return false;
    const bool link = S_ISLNK(info.st_mode);
    if (link && stat(native.c_str(), &info) != 0) return false;
    if (S_ISDIR(info.st_mode)) return false;
    constexpr int64_t ns = 1000000000;
    stamp.size = static_cast<int64_t>(info.st_size);
    stamp.modified_ns = static_cast<int64_t>(info.st_mtim.tv_sec) * ns + info.st_mtim.tv_nsec;
    stamp.changed_ns = static_cast<int64_t>(info.st_ctim.tv_sec) * ns + info.st_ctim.tv_nsec;
    stamp.inode = static_cast<uint64_t>(info.st_ino);
    stamp.linked = link;
    return true;
}

int scan_folder(const std::string& folder, const std::string& pattern) {
    std::string native = native_path(folder);
    DIR* dir = opendir(native.empty() ? "." : native.c_str());
    if (!dir) return 0;
    if (!native.empty() && native.back() != '/') native += '/';
    const std::string match = pattern.empty() ? "*" : pattern;
    scan_record scan;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (fnmatch(match.c_str(), name.c_str(), 0) != 0) continue;
        bool folder_entry = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK)
            folder_entry = is_folder(native + name);
        scan.entries.push_back({name, folder_entry});
    }
    closedir(dir);
    // The listing order decides level contents: make it the same everywhere.
    std::sort(scan.entries.begin(), scan.entries.end(),
              [](const scan_entry& a, const scan_entry& b) { return a.name < b.name; });
    return state().scans.add(std::move(scan));
}

bool next_entry(int scan) {
    scan_record* record = state().scans.find(scan);
    if (!record) return false;
    int count = static_cast<int>(record->entries.size());
    if (record->current < count) ++record->current;
    return record->current < count;
}

std::string entry_name(int scan) {
    scan_record* record = state().scans.find(scan);
    if (!record || record->current < 0 ||
        record->current >= static_cast<int>(record->entries.size()))
        return "";
    return record->entries[static_cast<size_t>(record->current)].name;
}

bool entry_is_folder(int scan) {
    scan_record* record = state().scans.find(scan);
    if (!record || record->current < 0 ||
        record->current >= static_cast<int>(record->entries.size()))
        return false;
    return record->entries[static_cast<size_t>(record->current)].folder;
}

void end_scan(int scan) { state().scans.erase(scan); }
