#include "ModuleArchive.h"

#include "MfcFileInputStream.h"
#include "MfcFileOutputStream.h"
#include "RixModuleData.h"
#include "nexilon/InputStreamSelector.h"
#include "nexilon/Nexilon.h"
#include "nexilon/OutputStreamSelector.h"

namespace rix {

void RegisterArchiveStreamClasses()
{
    nexilon::CClassStore& store = nexilon::q.GetClassStore();
    store.RegisterClassNxl({CMfcFileInputStream::ClassId, u"rix::CMfcFileInputStream", &CMfcFileInputStream::Create});
    store.RegisterClassNxl(
        {CMfcFileOutputStream::ClassId, u"rix::CMfcFileOutputStream", &CMfcFileOutputStream::Create});
}

void LoadModule(CRixModuleData& data, CArchive* archive)
{
    auto stream = nexilon::CreateInstance<IMfcFileInputStream>(CMfcFileInputStream::ClassId);
    stream->Connect(archive);
    nexilon::CInputStreamSelector selector(stream.Get());
    data.Load(selector);
}

void SaveModule(const CRixModuleData& data, CArchive* archive)
{
    auto stream = nexilon::CreateInstance<IMfcFileOutputStream>(CMfcFileOutputStream::ClassId);
    stream->Connect(archive);
    nexilon::COutputStreamSelector selector(stream.Get());
    data.Save(selector);
}

} // namespace rix
