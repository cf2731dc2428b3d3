#pragma once

#include <string>
#include <vector>

#include <QDialog>
#include <QString>

class QListWidget;

namespace rix {

// View ▸ Audio Output: the outputs the audio system offers, by name, with
// the system's default first. The choice is kept in the settings
// ("AudioOutput", empty for the default) and used from the next playback
// on. UI thread.
class CAudioOutputDlg : public QDialog {
    Q_OBJECT

public:
    // current: the chosen name, empty for the default.
    CAudioOutputDlg(QWidget* parent, const std::vector<std::string>& devices, const std::string& current);

    // The name picked, empty for the default; meaningful after accept.
    std::string Choice() const;

    static QString StoredChoice();
    static void StoreChoice(const QString& name);

private:
    QListWidget* list;
};

} // namespace rix
