#pragma once

#include "background_split.h"

#include <QWidget>

#include <memory>
#include <optional>

class QLineEdit;

namespace Ui {
class FileConverter;
}

namespace tamrivel {

class SplitInProgress;

// The program's only window: a source path, the two output paths, a status
// line and three buttons.
class FileConverter : public QWidget {
    Q_OBJECT

public:
    explicit FileConverter(QWidget *parent = nullptr);
    ~FileConverter() override;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private slots:
    void com_refer_Click();
    void com_sprit_Click();
    void Command1_Click();

private:
    void Form_Load();
    void takeSource(const QString &path);
    std::optional<QString> offeredFile(const QDropEvent &event) const;
    QLineEdit *outputAt(const QPoint &position) const;
    void splitEnded(const std::optional<RuntimeError> &error);

    std::unique_ptr<Ui::FileConverter> ui;
    std::unique_ptr<SplitInProgress> m_splitInProgress;
    // Last, so that a split still running is abandoned first as the window goes.
    BackgroundSplit m_split;
};

} // namespace tamrivel
