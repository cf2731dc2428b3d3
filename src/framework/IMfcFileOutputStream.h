#pragma once

#include "nexilon/Stream.h"

namespace rix {

class CArchive;
class CFile;

// A framework output stream over a document archive's file. Slots 15 to 18
// follow IOutputStream's.
class IMfcFileOutputStream : public nexilon::IOutputStream {
public:
    static constexpr nexilon::CId Iid{0x59E9F12D, 0x90864817, 0xB9F032DE, 0xDD94E1FE};

    // Disconnects, then connects to the file of an archive in storing mode
    // (CIOException for a loading archive); a null archive stays disconnected.
    virtual void Connect(CArchive* archive) = 0;
    // Disconnects, then connects to an open file at its current position
    // (CIOException for a closed file); a null file stays disconnected.
    virtual void Connect(CFile* file) = 0;
    virtual void Disconnect() = 0;
    // The connected file, not owned; null while disconnected.
    virtual CFile* GetFile() const = 0;

protected:
    ~IMfcFileOutputStream() = default;
};

} // namespace rix
