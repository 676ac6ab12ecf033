#pragma once

#include "background_check.h"
#include "result_text.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace tamrivel {

class CommonDialog;

// The check window: an image and the dumps read back from the chips burned
// from it, checked for which part of which split each dump is, how it
// differs and why, with the sums a programmer shows. A dialog, so that Enter
// checks and Esc stops a check or closes the window, as on any dialog.
class CheckWindow : public QDialog {
    Q_OBJECT

public:
    explicit CheckWindow(QWidget *parent = nullptr);

public slots:
    void reject() override;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QStringList chosenFiles(const QString &title, int flags = 0);
    void chooseImage();
    void chooseDumps();
    void addDumps(const QStringList &paths);
    void removeDumps();
    void startCheck();
    void showRow(const DumpRow &row);
    void checkEnded(const std::optional<RuntimeError> &error);
    void copyResult();
    void setRunning(bool running);
    QWidget *buildInputs();
    QWidget *buildResults();

    QLineEdit *m_image;
    QListWidget *m_dumps;
    QComboBox *m_chip;
    QPushButton *m_browseImage;
    QPushButton *m_addDumps;
    QPushButton *m_removeDumps;
    QPushButton *m_check;
    QPushButton *m_stop;
    QProgressBar *m_progress;
    QTableWidget *m_table;
    QPushButton *m_copy;
    QPushButton *m_close;
    QLabel *m_status;
    CommonDialog *m_dialog;
    CheckResult m_result;
    bool m_running = false;
    // Last, so that a check still running is stopped first as the window goes.
    BackgroundCheck m_background;
};

} // namespace tamrivel
