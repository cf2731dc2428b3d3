#pragma once

namespace rix {

class CArchive;
class CRixModuleData;

// Registers "rix::CMfcFileInputStream" and "rix::CMfcFileOutputStream" with
// the framework's class store; run once at start-up after nexilon::q.Init().
void RegisterArchiveStreamClasses();

// The document's way into module files: each runs the module file code on
// the archive's file through an archive stream created by the class store
// (so RegisterArchiveStreamClasses must have run). Called with the module
// locked, for writing when loading. Every exception passes to the caller; a
// failed load leaves the data reset and partly filled.
void LoadModule(CRixModuleData& data, CArchive* archive);
void SaveModule(const CRixModuleData& data, CArchive* archive);

} // namespace rix
