#pragma once

#include <QObject>

namespace rix {

// Which form of the song tables the musician exports: the plain tables or
// the exact ones (File ▸ Export ▸ Exact Tables), kept in the settings
// ("Export/Exact"). The C++ exports write it, the size meter and the Song
// Size panel measure it, Verify checks it and the A/B switch plays it. UI
// thread.
class CExportForm : public QObject {
    Q_OBJECT

public:
    explicit CExportForm(QObject* parent);

    bool Exact() const { return exact; }
    void SetExact(bool exact);

signals:
    void Changed(bool exact);

private:
    bool exact;
};

} // namespace rix
