#pragma once

#include <QDialog>

namespace rix {

// Help ▸ About: the program's name, version and purpose.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent);
};

} // namespace rix
