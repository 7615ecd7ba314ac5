#include "shell/FileProblems.h"

#include "shell/MainForm.h"

#include <QDir>

namespace tovani {

QString KeptFileMessage(const TMainForm& form, const IniFile& ini) {
    const QString file = QDir::toNativeSeparators(QString::fromStdString(ini.FileName()));
    switch (ini.OpenProblem()) {
    case IniFile::Problem::None:
        return {};
    case IniFile::Problem::TooLarge:
        return form
            .Tr("%1 is too large to be read: it is left as it is, and changes are not "
                "saved to it.")
            .arg(file);
    case IniFile::Problem::Unreadable:
        return form.Tr("%1 cannot be read: it is left as it is, and changes are not saved to it.")
            .arg(file);
    case IniFile::Problem::WriteProtected:
        return form.Tr("%1 is write-protected: changes are not saved to it.").arg(file);
    }
    return {};
}

} // namespace tovani
