#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class FileConverter;
}

namespace tamrivel {

// The program's only window: a source path, the two output paths, a status
// line and three buttons.
class FileConverter : public QWidget {
    Q_OBJECT

public:
    explicit FileConverter(QWidget *parent = nullptr);
    ~FileConverter() override;

    static QString splitDoneMessage();

private slots:
    void com_refer_Click();
    void com_sprit_Click();
    void Command1_Click();

private:
    void Form_Load();

    std::unique_ptr<Ui::FileConverter> ui;
};

} // namespace tamrivel
