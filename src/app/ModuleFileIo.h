#pragma once

#include <functional>

#include <QByteArray>
#include <QString>

class QIODevice;

namespace rix {

class IRixModule;

// The document's only way into module files. Both operations either do
// everything or leave things as they were:
// - Load reads the whole file into a song of its own and swaps it into the
//   module under one short write lock only once it was read completely, so
//   a broken file leaves the module untouched (LoadModuleFile).
// - Save takes the song under a short read lock, then writes it to a
//   temporary file beside the target that replaces the target only once it
//   is complete and flushed, so a failed or interrupted save never damages
//   the old file.
// On failure both return false with a sentence naming the reason (the
// caller names the file). UI thread; neither holds the lock while touching
// the disk.
class CModuleFileIo {
public:
    // Writes the serialised song to the temporary file; throws or returns
    // false on failure. Replaceable so that tests can fail half-way.
    using TWriter = std::function<bool(QIODevice& file, const QByteArray& bytes)>;

    static bool Load(const QString& path, IRixModule& module, QString& reason);
    static bool Save(const QString& path, IRixModule& module, QString& reason, const TWriter& writer = WriteAll);

    // The song in the current module file format.
    static QByteArray Serialize(IRixModule& module);
    static bool WriteAll(QIODevice& file, const QByteArray& bytes);
};

} // namespace rix
