#pragma once

#include "named_device.h"

#include <QFile>
#include <QSaveFile>

#include <memory>

namespace tamrivel {

// One output of a split or join. A regular (or new) file is written to a
// hidden temporary and takes the place of the old one only at commit(); if
// the object is destroyed before then, the old file is untouched and nothing
// new is left behind. A FIFO or device cannot be replaced and is written
// directly.
class OutputFile {
public:
    explicit OutputFile(const QString &path);
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    NamedDevice named();

    // Pushes everything written so far to the disk, so that commit() has
    // nothing left that could fail for lack of space.
    void syncToDisk();

    void commit();

private:
    QString m_path;
    std::unique_ptr<QFileDevice> m_file;
    bool m_replacing = true;
};

} // namespace tamrivel
