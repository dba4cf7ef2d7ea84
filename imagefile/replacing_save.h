#pragma once
// Writing an image over a file that may already exist without ever destroying it: the new content
// goes to a file of a unique name beside the target, and only a complete one is moved over the
// target, in one step. A save that fails leaves the old file as it was and no stray file behind.
#include <cstddef>
#include <string>

// A new, empty file of a unique name in a folder (two running copies of the program never get the
// same one), deleted again when this object goes unless it was handed on.
class TemporaryFile {
public:
    // `prefix`: up to three letters that mark the file as ours.
    TemporaryFile(const std::string& folder, const char* prefix);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // False when the folder is missing or cannot be written.
    bool Made() const { return !path.empty(); }
    const std::string& Path() const { return path; }
    // The file has been moved away: nothing is left to delete.
    void Forget() { path.clear(); }

private:
    std::string path;
};

class ReplacingSave {
public:
    explicit ReplacingSave(const std::string& target);

    // False when no file can be made beside the target (its folder is missing or not writable).
    bool Ready() const { return temporary.Made(); }
    // Where the writer puts the new content.
    const std::string& TemporaryPath() const { return temporary.Path(); }
    // Flushes the new content and moves it over the target in one step. An empty file (a writer
    // that gave up without saying so) never replaces anything. False leaves the target untouched;
    // either way the temporary file is gone once this object is.
    bool Commit();

private:
    std::string target;
    TemporaryFile temporary;
};

// Writes `size` bytes as the whole content of the file at `path`; false when any of them failed.
bool WriteFileBytes(const std::string& path, const void* data, size_t size);

// The folder part of `path`, its last separator included ("" for a bare name).
std::string FolderOf(const std::string& path);
