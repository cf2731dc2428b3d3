#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "File.h"
#include "nexilon/Ptr.h"
#include "nexilon/Stream.h"

namespace rix {

// Writes a file whole or not at all; every file the program writes goes
// through one. The bytes go to a new temporary file in the target's folder
// (so that the final rename stays within one file system); Commit() puts
// them on the disk and only then puts the file in the target's place, with
// the permissions of the file it replaces. Until Commit() has returned the
// target is exactly as it was. An object destroyed without a successful
// Commit() (a failure, an exception, a cancel) removes its temporary file.
//
// Where the file system allows it the temporary file has no name until
// Commit() links it in (O_TMPFILE), so a process killed while writing
// leaves nothing behind. Elsewhere it is named ".<name>.<pid>-<n>.tmp" and
// locked while written (CTemporaryFiles); one left by a killed process is
// removed by the next write into the same folder.
//
// A target that exists and is neither a regular file nor a folder (a
// device such as /dev/null, a FIFO) cannot be replaced; it is written
// directly, and so is "/dev/stdout", which stands for the process's
// standard output as the shell opened it (a pipe, a terminal, a file
// appended to). A symbolic link is followed, so the file it names is
// replaced and the link stays. One thread at a time.
class CAtomicFile {
public:
    // Creates the temporary file; CFileException naming the target when
    // its folder cannot take one.
    explicit CAtomicFile(const std::string& path);
    ~CAtomicFile();
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;

    // Appends all bytes or throws CFileException (a full disk included).
    void Write(const void* bytes, uint64_t count);
    // The same file as a framework output stream, for writers that take
    // one; valid while this object lives. Closing it is not the way to end
    // the file: that is Commit().
    nexilon::IOutputStream& GetStream();
    // Runs write on the same file, for writers that take a CFile (the
    // archive of a module save); its file errors name the target, as
    // Write's do.
    void WriteWith(const std::function<void(CFile&)>& write);
    // Flushes to the disk, gives the file the replaced file's permissions
    // and owner, renames it over the target and flushes the folder. Throws
    // CFileException naming the target; the target is then untouched.
    void Commit();

    // The file that is replaced: the path given, links followed.
    const std::string& GetPath() const { return target; }

    static constexpr const char* kStandardOutput = "/dev/stdout";

    // Writes bytes as the file at path, whole or not at all.
    static void WriteWhole(const std::string& path, const std::string& bytes);

private:
    bool OpenUnnamed(const std::string& folder);
    void OpenNamed(const std::string& folder, const std::string& name);
    void LinkUnnamed();

    std::string target;
    // True while the temporary file has no name yet.
    bool unnamed = false;
    // The temporary file's name once it has one; empty when writing the
    // target directly, and after the rename.
    std::string temporary;
    CFile file;
    nexilon::CPtr<nexilon::IOutputStream> stream;
};

} // namespace rix
