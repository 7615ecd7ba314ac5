#include "shell/Language.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>

#include <deque>

namespace tovani {

namespace {

QStringList SplitValue(const QString& value, const QString& separator) {
    QStringList out;
    for (const std::string& piece :
         tovani::LanguageFile::SplitList(value.toStdString(), separator.toStdString()))
        out << QString::fromStdString(piece);
    return out;
}

// The tab widget that shows `page` as one of its tabs, or null.
QTabWidget* TabOf(QWidget* page) {
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    return stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
}

// The first component named `name` (in any case) among those `owner` holds, nearest first.
QObject* FindOwned(QObject* owner, const QString& name) {
    std::deque<QObject*> queue(owner->children().begin(), owner->children().end());
    while (!queue.empty()) {
        QObject* o = queue.front();
        queue.pop_front();
        if (o->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return o;
        const QObjectList& kids = o->children();
        queue.insert(queue.end(), kids.begin(), kids.end());
    }
    return nullptr;
}

// A property of the component's own class, by name in any case.
QMetaProperty OwnProperty(const QObject* o, const QString& name) {
    const QMetaObject* mo = o->metaObject();
    for (int i = 0; i < mo->propertyCount(); ++i) {
        QMetaProperty p = mo->property(i);
        if (name.compare(QLatin1String(p.name()), Qt::CaseInsensitive) == 0)
            return p;
    }
    return {};
}

bool HasLetter(const QString& s) {
    for (QChar c : s)
        if (c.isLetter())
            return true;
    return false;
}

} // namespace

TLanguage::TLanguage(QWidget* form) : QObject(form), form_(form) {
    setObjectName("Language");
}

void TLanguage::SetLanguageFile(const QString& path) {
    languageFile_ = path;
    file_ = tovani::LanguageFile::Load(path.toStdString());
    if (autoTranslate_)
        Translate();
}

void TLanguage::SetSeparator(const QString& s) {
    separator_ = QString::fromStdString(tovani::LanguageFile::ListSeparator(s.toStdString()));
}

QStringList TLanguage::Properties() const {
    return properties_.isEmpty() && form_ ? CollectProperties(form_) : properties_;
}

QString TLanguage::PathFormName(const QWidget* form) {
    return form->objectName() == "MainForm" ? QStringLiteral("Tovani") : form->objectName();
}

QStringList TLanguage::CollectProperties(QWidget* form) {
    QStringList paths;
    QSet<QString> seen;
    const QString prefix = PathFormName(form) + ".";
    auto add = [&](const QString& path) {
        if (!seen.contains(path.toLower())) {
            seen.insert(path.toLower());
            paths << path;
        }
    };
    if (form->objectName() != "MainForm" && HasLetter(form->windowTitle()))
        add(prefix + "Caption");
    for (QObject* o : form->findChildren<QObject*>()) {
        const QString name = o->objectName();
        // Components without a name, and those whose text the program writes itself (numbers,
        // the status line, names of files), are not translated by path.
        if (name.isEmpty() || o->property("codeText").toBool())
            continue;
        const QString at = prefix + name;
        if (auto* m = qobject_cast<QMenu*>(o)) {
            if (HasLetter(m->title()))
                add(at + ".Caption");
            continue;
        }
        if (auto* a = qobject_cast<QAction*>(o)) {
            if (!a->isSeparator() && HasLetter(a->text()))
                add(at + ".Caption");
            continue;
        }
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow())
            continue;
        QString caption;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            caption = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w))
            caption = l->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            caption = g->title();
        else if (QTabWidget* tabs = TabOf(w))
            caption = tabs->tabText(tabs->indexOf(w));
        if (HasLetter(caption))
            add(at + ".Caption");
        if (HasLetter(w->toolTip()))
            add(at + ".Hint");
    }
    return paths;
}

void TLanguage::Translate() {
    if (OnBeforeTranslation)
        OnBeforeTranslation();
    file_ = tovani::LanguageFile::Load(languageFile_.toStdString());
    for (const QString& entry : Properties()) {
        if (entry.trimmed().isEmpty())
            continue;
        const std::string key = entry.toStdString();
        ApplyPath(QString::fromStdString(tovani::LanguageFile::ResolvePath(key)),
                  QString::fromStdString(file_.Translation(key)));
    }
    if (OnAfterTranslation)
        OnAfterTranslation();
}

QObject* TLanguage::FindComponent(const QString& fullPath, QString* property, QWidget* preferred) {
    QStringList parts = fullPath.trimmed().split('.');
    if (parts.size() < 2)
        return nullptr;
    if (property)
        *property = parts.takeLast().trimmed();
    else
        parts.removeLast();
    const QString formName = parts.takeFirst().trimmed();
    QObject* at = nullptr;
    if (preferred && preferred->objectName().compare(formName, Qt::CaseInsensitive) == 0)
        at = preferred;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!at && w->objectName().compare(formName, Qt::CaseInsensitive) == 0)
            at = w;
    for (const QString& name : parts) {
        if (!at)
            break;
        at = FindOwned(at, name.trimmed());
    }
    return at;
}

QString TLanguage::ValueAt(const QString& path, QWidget* preferred) {
    QString property;
    QObject* o =
        FindComponent(QString::fromStdString(tovani::LanguageFile::ResolvePath(path.toStdString())),
                      &property, preferred);
    return o ? CurrentValue(o, property) : QString();
}

void TLanguage::ApplyPath(const QString& path, const QString& value) {
    if (path.trimmed().isEmpty())
        return;
    QString property;
    QObject* component = FindComponent(path, &property, form_);
    if (!component || value.isEmpty())
        return;
    QString v = value;
    if (OnTranslate)
        OnTranslate(this, component, v, CurrentValue(component, property), property);
    SetValue(component, property, v, separator_);
}

QString TLanguage::Message(const QString& english) const {
    if (file_.Empty())
        return english;
    return QString::fromStdString(file_.Message(english.toStdString()));
}

QString TLanguage::CurrentValue(QObject* o, const QString& property) {
    const QString p = property.toLower();
    if (p == "caption") {
        if (auto* m = qobject_cast<QMenu*>(o))
            return m->title();
        if (auto* a = qobject_cast<QAction*>(o))
            return a->text();
        if (auto* b = qobject_cast<QAbstractButton*>(o))
            return b->text();
        if (auto* l = qobject_cast<QLabel*>(o))
            return l->text();
        if (auto* g = qobject_cast<QGroupBox*>(o))
            return g->title();
        if (auto* w = qobject_cast<QWidget*>(o)) {
            if (QTabWidget* tabs = TabOf(w))
                return tabs->tabText(tabs->indexOf(w));
            if (w->isWindow())
                return w->windowTitle();
        }
    } else if (p == "hint") {
        if (auto* a = qobject_cast<QAction*>(o))
            return a->toolTip();
        if (auto* w = qobject_cast<QWidget*>(o))
            return w->toolTip();
    } else if (p == "items") {
        QStringList items;
        if (auto* c = qobject_cast<QComboBox*>(o))
            for (int i = 0; i < c->count(); ++i)
                items << c->itemText(i);
        if (auto* l = qobject_cast<QListWidget*>(o))
            for (int i = 0; i < l->count(); ++i)
                items << l->item(i)->text();
        return items.join(',');
    } else if (p == "lines") {
        if (auto* e = qobject_cast<QPlainTextEdit*>(o))
            return e->toPlainText();
        if (auto* e = qobject_cast<QTextEdit*>(o))
            return e->toPlainText();
    }
    QMetaProperty mp = OwnProperty(o, property);
    return mp.isValid() ? mp.read(o).toString() : QString();
}

bool TLanguage::SetValue(QObject* o, const QString& property, const QString& value,
                         const QString& separator) {
    const QString p = property.toLower();
    if (p == "caption") {
        if (auto* m = qobject_cast<QMenu*>(o)) {
            m->setTitle(value);
            return true;
        }
        if (auto* a = qobject_cast<QAction*>(o)) {
            a->setText(value);
            return true;
        }
        if (auto* b = qobject_cast<QAbstractButton*>(o)) {
            b->setText(value);
            return true;
        }
        if (auto* l = qobject_cast<QLabel*>(o)) {
            l->setText(value);
            return true;
        }
        if (auto* g = qobject_cast<QGroupBox*>(o)) {
            g->setTitle(value);
            return true;
        }
        if (auto* w = qobject_cast<QWidget*>(o)) {
            if (QTabWidget* tabs = TabOf(w)) {
                tabs->setTabText(tabs->indexOf(w), value);
                return true;
            }
            if (w->isWindow()) {
                w->setWindowTitle(value);
                return true;
            }
        }
    } else if (p == "hint") {
        if (auto* a = qobject_cast<QAction*>(o)) {
            a->setToolTip(value);
            a->setStatusTip(value);
            return true;
        }
        if (auto* w = qobject_cast<QWidget*>(o)) {
            w->setToolTip(value);
            // The welcome screen shows a picture's hint as the game's description.
            if (w->property("hint").isValid())
                w->setProperty("hint", value);
            return true;
        }
    } else if (p == "items") {
        const QStringList items = SplitValue(value, separator);
        if (auto* c = qobject_cast<QComboBox*>(o)) {
            const int current = c->currentIndex();
            c->clear();
            c->addItems(items);
            c->setCurrentIndex(std::min(current, static_cast<int>(c->count()) - 1));
            return true;
        }
        if (auto* l = qobject_cast<QListWidget*>(o)) {
            const int current = l->currentRow();
            l->clear();
            l->addItems(items);
            l->setCurrentRow(std::min(current, static_cast<int>(l->count()) - 1));
            return true;
        }
    } else if (p == "lines") {
        const QString text = SplitValue(value, separator).join('\n');
        if (auto* e = qobject_cast<QPlainTextEdit*>(o)) {
            e->setPlainText(text);
            return true;
        }
        if (auto* e = qobject_cast<QTextEdit*>(o)) {
            e->setPlainText(text);
            return true;
        }
    }
    QMetaProperty mp = OwnProperty(o, property);
    if (!mp.isValid() || !mp.isWritable())
        return false;
    switch (mp.metaType().id()) {
    case QMetaType::QString:
        return mp.write(o, value);
    case QMetaType::Int: {
        // A value that is not a number leaves the property as it was.
        bool ok = false;
        const int n = value.trimmed().toInt(&ok);
        return ok && mp.write(o, n);
    }
    case QMetaType::QStringList:
        return mp.write(o, SplitValue(value, separator));
    default:
        return false;
    }
}

} // namespace tovani
