#pragma once

#include "nexilon/Stream.h"

namespace rix {

class CArchive;
class CFile;

// A framework input stream over a document archive's file. Slots 19 to 22
// follow IInputStream's.
class IMfcFileInputStream : public nexilon::IInputStream {
public:
    static constexpr nexilon::CId Iid{0x87F39DEB, 0x716344CC, 0x9B01FF3B, 0x0E61A7E2};

    // Disconnects, then connects to the file of an archive in loading mode
    // (CIOException for a storing archive); a null archive stays disconnected.
    virtual void Connect(CArchive* archive) = 0;
    // Disconnects, then connects to an open file and moves it to position 0
    // (CIOException for a closed file); a null file stays disconnected.
    virtual void Connect(CFile* file) = 0;
    virtual void Disconnect() = 0;
    // The connected file, not owned; null while disconnected.
    virtual CFile* GetFile() const = 0;

protected:
    ~IMfcFileInputStream() = default;
};

} // namespace rix
