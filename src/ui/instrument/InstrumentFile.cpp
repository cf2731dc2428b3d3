#include "InstrumentFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "File.h"
#include "MfcFileInputStream.h"
#include "MfcFileOutputStream.h"
#include "RixModule.h"
#include "nexilon/Exceptions.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/Nexilon.h"
#include "nexilon/OutputStreamSelector.h"

namespace rix {

namespace {

CRixModuleChannel CopyOfChannel(IRixModule& module, int32_t channel)
{
    CRixModuleLock lock(module, nexilon::LOCKMODE_READ);
    return lock->channels[channel];
}

void CheckChannel(int32_t channel, const char* function)
{
    if (channel < 0 || channel >= RIX_CHANNELS)
        throw nexilon::CIOException(function, "InstrumentFile", __LINE__, "No such channel");
}

} // namespace

void CInstrumentFile::Load(const std::string& path, IRixModule& module, int32_t channel)
{
    CheckChannel(channel, "rix::CInstrumentFile::Load");
    CRixModuleChannel instrument = CopyOfChannel(module, channel);
    Read(path, instrument);
    CRixModuleLock lock(module, nexilon::LOCKMODE_WRITE);
    lock->channels[channel] = instrument;
}

void CInstrumentFile::Read(const std::string& path, CRixModuleChannel& instrument)
{
    CFile file(nexilon::CString(std::string_view(path)), CFile::modeRead);
    auto stream = nexilon::CreateInstance<IMfcFileInputStream>(CMfcFileInputStream::ClassId);
    stream->Connect(&file);
    nexilon::CInputStreamSelector selector(stream.Get());
    instrument.Load(selector);
}

void CInstrumentFile::Save(const std::string& path, IRixModule& module, int32_t channel)
{
    CheckChannel(channel, "rix::CInstrumentFile::Save");
    const CRixModuleChannel instrument = CopyOfChannel(module, channel);
    const std::string temporary = path + ".tmp-" + std::to_string(::getpid());
    CFile file(nexilon::CString(std::string_view(temporary)), CFile::modeCreate);
    try {
        {
            auto stream = nexilon::CreateInstance<IMfcFileOutputStream>(CMfcFileOutputStream::ClassId);
            stream->Connect(&file);
            nexilon::COutputStreamSelector selector(stream.Get());
            instrument.Save(selector);
        }
        // A replaced file keeps its permissions.
        struct stat target {};
        if (::stat(path.c_str(), &target) == 0)
            ::fchmod(file.GetHandle(), target.st_mode & 07777);
        file.Flush();
        file.Close();
        if (std::rename(temporary.c_str(), path.c_str()) != 0)
            throw nexilon::CIOException("rix::CInstrumentFile::Save", "InstrumentFile", __LINE__,
                                        std::strerror(errno));
    } catch (...) {
        file.Abort();
        std::remove(temporary.c_str());
        throw;
    }
}

} // namespace rix
