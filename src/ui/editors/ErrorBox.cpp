#include "ErrorBox.h"

#include <QMessageBox>
#include <QWidget>

namespace rix {

namespace {

CErrorBox::THook& Hook()
{
    static CErrorBox::THook hook;
    return hook;
}

} // namespace

void CErrorBox::Show(QWidget* parent, const QString& text)
{
    if (Hook())
        Hook()(parent, text);
    else
        QMessageBox::critical(parent, QStringLiteral("Error"), text);
    if (parent)
        parent->setFocus();
}

void CErrorBox::SetHook(THook hook)
{
    Hook() = std::move(hook);
}

} // namespace rix
