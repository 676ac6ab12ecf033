#pragma once

#include <QTranslator>

namespace tamrivel {

// Japanese for the names of file kinds in the Open dialog's type column
// ("Folder", "Drive" ...), which Qt's own Japanese catalogue lacks.
class FileTypeNames : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override;
    bool isEmpty() const override { return false; }
};

} // namespace tamrivel
