// Looks up the program's own pictures (see Resources.h).
#include "resources/Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace tovani {

namespace {

const char* const kExtensions[] = {"png", "jpg", "bmp"};

// The file in `folder` whose name, or name without extension, equals `name` ignoring case.
QString FindPicture(const QString& folder, const QString& name) {
    const QDir dir(folder);
    if (name.isEmpty() || !dir.exists()) {
        return {};
    }
    for (const char* ext : kExtensions) {
        const QString exact = name + "." + ext;
        if (dir.exists(exact)) {
            return dir.filePath(exact);
        }
    }
    if (dir.exists(name) && QFileInfo(dir.filePath(name)).isFile()) {
        return dir.filePath(name);
    }
    const QFileInfoList files = dir.entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        if (file.fileName().compare(name, Qt::CaseInsensitive) == 0) {
            return file.filePath();
        }
    }
    for (const QFileInfo& file : files) {
        if (file.completeBaseName().compare(name, Qt::CaseInsensitive) == 0) {
            return file.filePath();
        }
    }
    return {};
}

} // namespace

QString ResourceFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath("Resources");
}

QImage ProgramPictureIn(const QString& folder, const QString& name) {
    const QString path = FindPicture(folder, name);
    if (path.isEmpty()) {
        return {};
    }
    // Decide the format from the bytes, not the extension, so a renamed file still reads.
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

QImage ProgramPicture(const QString& name) {
    return ProgramPictureIn(ResourceFolder(), name);
}

QPoint CursorHotSpot(const QString& name) {
    if (name.compare("HAND", Qt::CaseInsensitive) == 0) {
        return {12, 1};
    }
    if (name.compare("HAND2", Qt::CaseInsensitive) == 0) {
        return {12, 6};
    }
    return {0, 0};
}

} // namespace tovani
