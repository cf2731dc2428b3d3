#pragma once

#include <string>

namespace rix {

// The temporary files that CAtomicFile names beside their targets:
// ".<name>.<process id>-<number>.tmp" in the target's folder. The writer
// holds an exclusive flock on its file for as long as it has one, so the
// system releases it the moment the writer dies, even before its process is
// reaped; a file that is locked by no one and whose process no longer runs
// was left by a writer killed between creating and renaming it.
class CTemporaryFiles {
public:
    // A new name for a temporary file of the target name in folder (empty
    // or ending in '/'); unique among the names this process makes.
    static std::string NextName(const std::string& folder, const std::string& name);

    // Removes from folder (empty or ending in '/') the temporary files whose
    // writers died. Quietly leaves what it cannot open or lock, and the
    // files of processes that run (this one included).
    static void RemoveStale(const std::string& folder);
};

} // namespace rix
