#include "shell/ui/MenuBuilder.h"
#include "base/MenuTable.h"
#include "base/Texts.h"
#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

QKeySequence::StandardKey standardKey(menu::Key key) {
    switch (key) {
    case menu::Key::New:
        return QKeySequence::New;
    case menu::Key::Open:
        return QKeySequence::Open;
    case menu::Key::Save:
        return QKeySequence::Save;
    case menu::Key::SaveAs:
        return QKeySequence::SaveAs;
    case menu::Key::Close:
        return QKeySequence::Close;
    case menu::Key::Quit:
        return QKeySequence::Quit;
    case menu::Key::Undo:
        return QKeySequence::Undo;
    case menu::Key::Redo:
        return QKeySequence::Redo;
    case menu::Key::Cut:
        return QKeySequence::Cut;
    case menu::Key::Copy:
        return QKeySequence::Copy;
    case menu::Key::Paste:
        return QKeySequence::Paste;
    case menu::Key::NextChild:
        return QKeySequence::NextChild;
    default:
        return QKeySequence::UnknownKey;
    }
}

// The desktop's own key; where the table names a further one, that too (only where the
// desktop names none, when the table says so).
void setKeys(QAction* a, const menu::Entry& e) {
    QList<QKeySequence> keys;
    if (e.key != menu::Key::None) keys = QKeySequence::keyBindings(standardKey(e.key));
    if (!e.alsoKey.empty() && !(e.alsoKeyOnlyIfNone && !keys.isEmpty())) {
        const QKeySequence extra(QString::fromLatin1(e.alsoKey.data(), e.alsoKey.size()),
                                 QKeySequence::PortableText);
        if (!keys.contains(extra)) keys.append(extra);
    }
    if (!keys.isEmpty()) a->setShortcuts(keys);
}

QString name(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::map<QString, QAction*> buildMenuBar(QMenuBar* bar, const Texts& texts) {
    std::map<QString, QAction*> actions;
    std::map<QString, QMenu*> menus;
    std::map<QString, QActionGroup*> choices;
    const auto parentOf = [&](const menu::Entry& e) -> QMenu* {
        const auto it = menus.find(name(e.parent));
        return it == menus.end() ? nullptr : it->second;
    };
    for (const menu::Entry& e : menu::entries()) {
        const QString caption = QString::fromStdString(menu::caption(e, texts));
        QMenu* parent = parentOf(e);
        QAction* a = nullptr;
        switch (e.item) {
        case menu::Item::Window:
            continue;
        case menu::Item::Menu: {
            QMenu* m = parent ? parent->addMenu(caption) : bar->addMenu(caption);
            m->setObjectName(name(e.name));
            menus[name(e.name)] = m;
            a = m->menuAction();
            break;
        }
        case menu::Item::Separator:
            a = parent->addSeparator();
            break;
        case menu::Item::List:
        case menu::Item::CheckList:
            for (int i = e.firstIndex; i < e.firstIndex + e.count; ++i) {
                QAction* item = parent->addAction(QString());
                item->setObjectName(name(e.name) + QString::number(i));
                item->setCheckable(e.item == menu::Item::CheckList);
                item->setVisible(false);
                actions[item->objectName()] = item;
            }
            continue;
        default:
            a = parent->addAction(caption);
            break;
        }
        if (e.name.empty()) continue;
        a->setObjectName(name(e.name));
        a->setCheckable(e.item == menu::Item::Check || e.item == menu::Item::Choice);
        if (e.item == menu::Item::Choice) {
            QActionGroup*& group = choices[name(e.parent)];
            if (!group) group = new QActionGroup(parent);
            group->addAction(a);
        }
        if (e.shown == menu::Shown::WithSerialPorts) a->setVisible(false);
        setKeys(a, e);
        actions[name(e.name)] = a;
    }
    return actions;
}
