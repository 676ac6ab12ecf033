#pragma once

#include <QWidget>

namespace tamrivel {

// The Open-file dialog component of a window. It has no presence of its own:
// the handler sets its properties, calls ShowOpen(), and reads FileName.
// Windows shows its own Open dialog (common_dialog_windows.cpp), other
// systems Qt's (common_dialog_qt.cpp).
class CommonDialog : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString DialogTitle READ DialogTitle WRITE setDialogTitle)

public:
    // Flags: hide the read-only check box. Windows' dialog reads the flags as
    // its own; Qt's never shows one.
    static constexpr int HideReadOnly = 4;
    // Flags: several files may be chosen at once (FileNames).
    static constexpr int AllowMultiselect = 0x200;

    explicit CommonDialog(QWidget *parent = nullptr) : QWidget(parent)
    {
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

    bool CancelError() const { return m_cancelError; }
    void setCancelError(bool raise) { m_cancelError = raise; }
    int Flags() const { return m_flags; }
    void setFlags(int flags) { m_flags = flags; }
    // Description/pattern pairs separated by "|", with a trailing "|".
    QString Filter() const { return m_filter; }
    void setFilter(const QString &filter) { m_filter = filter; }
    // 1-based: the filter entry selected when the dialog opens.
    int FilterIndex() const { return m_filterIndex; }
    void setFilterIndex(int index) { m_filterIndex = index; }
    QString DialogTitle() const { return m_title; }
    void setDialogTitle(const QString &title) { m_title = title; }
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    // Every file chosen, in full, FileName the first of them; empty after a
    // Cancel.
    QStringList FileNames() const { return m_fileNames; }

    // Shows the modal dialog for choosing one existing file (or several, with
    // AllowMultiselect) and waits. On OK, FileName holds its full path; on Cancel, Esc or close it raises
    // Cancelled when CancelError is set and leaves FileName empty otherwise.
    void ShowOpen();

private:
    bool m_cancelError = false;
    int m_flags = 0;
    QString m_filter;
    int m_filterIndex = 1;
    QString m_title;
    QString m_fileName;
    QStringList m_fileNames;
};

} // namespace tamrivel
