#include "CliFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "Archive.h"
#include "File.h"
#include "MfcFileInputStream.h"
#include "MfcFileOutputStream.h"
#include "ModuleArchive.h"
#include "RixModuleData.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/Nexilon.h"
#include "nexilon/OutputStreamSelector.h"

namespace cli {

namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix)
{
    if (text.size() < suffix.size())
        return false;
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        const char c = text[text.size() - suffix.size() + i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != suffix[i])
            return false;
    }
    return true;
}

// A name in the target's folder that no other process of this tool uses.
std::string TemporaryPathBeside(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return folder + "." + name + ".tmp-" + std::to_string(::getpid());
}

void WriteFileSafely(const std::string& path, const std::function<void(rix::CFile&)>& write)
{
    const std::string temporary = TemporaryPathBeside(path);
    rix::CFile file(nexilon::CString(std::string_view(temporary)), rix::CFile::modeCreate);
    try {
        write(file);
        // A replaced file keeps its permissions.
        struct stat target {};
        if (::stat(path.c_str(), &target) == 0)
            ::fchmod(file.GetHandle(), target.st_mode & 07777);
        file.Flush();
        file.Close();
        if (std::rename(temporary.c_str(), path.c_str()) != 0)
            throw nexilon::CIOException("cli::WriteFileSafely", "CliFiles", __LINE__, std::strerror(errno));
    } catch (...) {
        file.Abort();
        std::remove(temporary.c_str());
        throw;
    }
}

} // namespace

TFileKind KindOfPath(const std::string& path)
{
    if (EndsWithIgnoringCase(path, ".sonrix"))
        return TFileKind::Module;
    if (EndsWithIgnoringCase(path, ".sonrixi"))
        return TFileKind::Instrument;
    return TFileKind::Unknown;
}

void LoadModuleFile(const std::string& path, rix::CRixModuleData& data)
{
    rix::CFile file(nexilon::CString(std::string_view(path)), rix::CFile::modeRead);
    rix::CArchive archive(&file, rix::CArchive::load);
    rix::LoadModule(data, &archive);
}

void LoadInstrumentFile(const std::string& path, rix::CRixModuleChannel& channel)
{
    rix::CFile file(nexilon::CString(std::string_view(path)), rix::CFile::modeRead);
    auto stream = nexilon::CreateInstance<rix::IMfcFileInputStream>(rix::CMfcFileInputStream::ClassId);
    stream->Connect(&file);
    nexilon::CInputStreamSelector selector(stream.Get());
    channel.Load(selector);
}

void SaveModuleFile(const std::string& path, const rix::CRixModuleData& data)
{
    WriteFileSafely(path, [&data](rix::CFile& file) {
        rix::CArchive archive(&file, rix::CArchive::store);
        rix::SaveModule(data, &archive);
    });
}

void SaveInstrumentFile(const std::string& path, const rix::CRixModuleChannel& channel)
{
    WriteFileSafely(path, [&channel](rix::CFile& file) {
        auto stream = nexilon::CreateInstance<rix::IMfcFileOutputStream>(rix::CMfcFileOutputStream::ClassId);
        stream->Connect(&file);
        nexilon::COutputStreamSelector selector(stream.Get());
        channel.Save(selector);
    });
}

int ReportFileFailure(const std::string& path, const std::exception& error)
{
    const auto* framework = dynamic_cast<const nexilon::CException*>(&error);
    const std::string message = framework ? framework->GetMessage() : std::string(error.what());
    std::fprintf(stderr, "sonrix3-cli: %s: %s\n", path.c_str(), message.c_str());
    return 1;
}

} // namespace cli
