#include "nexilon/Nexilon.h"

#include "nexilon/FileInputStream.h"
#include "nexilon/FileOutputStream.h"

namespace nexilon {

CNexilon q;

void CNexilon::Init()
{
    classStore.RegisterClassNxl({IFileOutputStream::ClassId, u"nexilon::CFileOutputStream", &CreateFileOutputStream});
    classStore.RegisterClassNxl({IFileInputStream::ClassId, u"nexilon::CFileInputStream", &CreateFileInputStream});
}

void CNexilon::Close()
{
    classStore.Clear();
}

} // namespace nexilon
