#include "ModuleFiles.h"

#include <memory>
#include <sys/stat.h>
#include <utility>

#include "Archive.h"
#include "AtomicFile.h"
#include "File.h"
#include "MfcFileInputStream.h"
#include "ModuleArchive.h"
#include "RixModule.h"
#include "RixModuleData.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/MemoryStream.h"
#include "nexilon/Nexilon.h"
#include "nexilon/OutputStreamSelector.h"

namespace rix {

namespace {

constexpr const char* kSource = "ModuleFiles";

// The archive streams position the file, which a pipe cannot do; a FIFO
// without a writer would even block the open. Such input is refused before
// it is opened. An empty file says so rather than that it ended early.
void OpenForReading(CFile& file, const std::string& path, const char* function)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        throw CFileException(function, __LINE__, path, "The input must be a regular file, not a pipe or a device");
    file.Open(nexilon::CString(std::string_view(path)), CFile::modeRead);
    if (file.GetLength() == 0)
        throw nexilon::CDataFormatException(function, kSource, __LINE__, "The file is empty");
}

// The failure again, of the same kind, with a message that names the file:
// the instrument panel shows the message as it stands.
[[noreturn]] void RethrowNamingTheFile(const std::string& path, const nexilon::CException& error)
{
    const std::string message = path + ": " + error.GetMessage();
    if (dynamic_cast<const nexilon::CDataFormatException*>(&error))
        throw nexilon::CDataFormatException(error.GetFunction(), error.GetFile(), error.GetLine(), message);
    if (dynamic_cast<const nexilon::CIOException*>(&error))
        throw nexilon::CIOException(error.GetFunction(), error.GetFile(), error.GetLine(), message);
    if (dynamic_cast<const CFileException*>(&error))
        throw CFileException(error.GetFunction(), error.GetLine(), path, message);
    throw nexilon::CException(error.GetFunction(), error.GetFile(), error.GetLine(), message);
}

// An instrument file's bytes, made in memory so that the song's lock is
// held only while they are made.
std::string FileBytes(const CRixModuleChannel& data)
{
    nexilon::CPtr<nexilon::IMemoryOutputStream> memory = nexilon::CreateMemoryOutputStream();
    nexilon::COutputStreamSelector selector(memory.Get());
    data.Save(selector);
    return memory->GetBytes();
}

void RequireChannel(int32_t channel, const char* function)
{
    if (channel < 0 || channel >= RIX_CHANNELS)
        throw nexilon::CInvalidParameterException(function, kSource, __LINE__, "Channel out of range");
}

} // namespace

void ReadModuleFile(const std::string& path, CRixModuleData& data)
{
    CFile file;
    OpenForReading(file, path, "rix::ReadModuleFile");
    CArchive archive(&file, CArchive::load);
    LoadModule(data, &archive);
}

void ReadInstrumentFile(const std::string& path, CRixModuleChannel& channel)
{
    try {
        CFile file;
        OpenForReading(file, path, "rix::ReadInstrumentFile");
        auto stream = nexilon::CreateInstance<IMfcFileInputStream>(CMfcFileInputStream::ClassId);
        stream->Connect(&file);
        nexilon::CInputStreamSelector selector(stream.Get());
        channel.Load(selector);
    } catch (const nexilon::CException& error) {
        RethrowNamingTheFile(path, error);
    }
}

void WriteModuleFile(const std::string& path, const CRixModuleData& data)
{
    // Through an archive on the file, the way the document has always saved.
    CAtomicFile output(path);
    output.WriteWith([&data](CFile& file) {
        CArchive archive(&file, CArchive::store);
        SaveModule(data, &archive);
    });
    output.Commit();
}

void WriteInstrumentFile(const std::string& path, const CRixModuleChannel& channel)
{
    CAtomicFile::WriteWhole(path, FileBytes(channel));
}

void LoadModuleFile(const std::string& path, IRixModule& module)
{
    auto loaded = std::make_unique<CRixModuleData>();
    ReadModuleFile(path, *loaded);
    // The old song is freed with loaded, after the lock is released.
    CRixModuleLock data(module, nexilon::LOCKMODE_WRITE);
    std::swap(*data, *loaded);
}

void SaveModuleFile(const std::string& path, IRixModule& module)
{
    // A copy taken under the read lock, so that the disk is written without it.
    auto copy = std::make_unique<CRixModuleData>();
    {
        CRixModuleLock data(module, nexilon::LOCKMODE_READ);
        *copy = *data;
    }
    WriteModuleFile(path, *copy);
}

void LoadInstrumentFile(const std::string& path, IRixModule& module, int32_t channel)
{
    RequireChannel(channel, "rix::LoadInstrumentFile");
    CRixModuleChannel loaded;
    {
        CRixModuleLock data(module, nexilon::LOCKMODE_READ);
        loaded = data->channels[channel];
    }
    ReadInstrumentFile(path, loaded);
    CRixModuleLock data(module, nexilon::LOCKMODE_WRITE);
    std::swap(data->channels[channel], loaded);
}

void SaveInstrumentFile(const std::string& path, IRixModule& module, int32_t channel)
{
    RequireChannel(channel, "rix::SaveInstrumentFile");
    std::string bytes;
    {
        CRixModuleLock data(module, nexilon::LOCKMODE_READ);
        bytes = FileBytes(data->channels[channel]);
    }
    CAtomicFile::WriteWhole(path, bytes);
}

} // namespace rix
