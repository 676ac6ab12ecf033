#pragma once

#include <QCoreApplication>
#include <QTranslator>

namespace tamrivel::testing {

// The texts in Japanese, from the catalogue the build made, for as long as
// it lives.
class JapaneseCatalogue {
public:
    JapaneseCatalogue()
    {
        m_loaded = m_catalogue.load(QStringLiteral(TAMRIVEL_CATALOGUES "/tamrivel_ja.qm")) &&
            QCoreApplication::installTranslator(&m_catalogue);
    }
    ~JapaneseCatalogue() { QCoreApplication::removeTranslator(&m_catalogue); }
    JapaneseCatalogue(const JapaneseCatalogue &) = delete;
    JapaneseCatalogue &operator=(const JapaneseCatalogue &) = delete;

    bool loaded() const { return m_loaded; }

private:
    QTranslator m_catalogue;
    bool m_loaded = false;
};

} // namespace tamrivel::testing
