#include "error_box.h"

#include "runtime_error.h"

#include <QMessageBox>

namespace tamrivel {

void showErrorBox(QWidget *parent, const RuntimeError &error)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Tamrivel"),
                    QStringLiteral("エラー %1\n\n%2").arg(error.code()).arg(error.description()),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("errorBox"));
    box.exec();
}

} // namespace tamrivel
