#include "nexilon/Nexilon.h"

#include "nexilon/AudioDevice.h"
#include "nexilon/FileInputStream.h"
#include "nexilon/FileOutputStream.h"
#include "nexilon/Sound.h"

namespace nexilon {

CNexilon q;

void CNexilon::Init()
{
    classStore.RegisterClassNxl({IFileOutputStream::ClassId, u"nexilon::CFileOutputStream", &CreateFileOutputStream});
    classStore.RegisterClassNxl({IFileInputStream::ClassId, u"nexilon::CFileInputStream", &CreateFileInputStream});
    classStore.RegisterClassNxl({IAudioDevice::ClassId, u"nexilon::CSdlAudioDevice", &CreateAudioDevice});
    classStore.RegisterClassNxl({ISound::ClassId, u"nexilon::CSdlSound", &CreateSound});
}

void CNexilon::Close()
{
    classStore.Clear();
}

} // namespace nexilon
