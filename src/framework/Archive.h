#pragma once

#include "File.h"

namespace rix {

// A document's view of a file during serialisation: the file and whether
// the document is being loaded from it or stored into it. The archive does
// not own the file; the file must outlive it.
class CArchive {
public:
    enum TMode {
        store = 0,
        load = 1,
    };

    CArchive(CFile* file, TMode mode) : file(file), mode(mode) {}
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return mode == load; }
    CFile* GetFile() const { return file; }

private:
    CFile* file;
    TMode mode;
};

} // namespace rix
