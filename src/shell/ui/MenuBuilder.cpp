#include "shell/ui/MenuBuilder.h"
#include "base/MenuTable.h"
#include "base/Texts.h"
#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

using namespace base;

namespace shell {

namespace {

QKeySequence::StandardKey standardKey(base::Key key) {
    switch (key) {
    case base::Key::New:
        return QKeySequence::New;
    case base::Key::Open:
        return QKeySequence::Open;
    case base::Key::Save:
        return QKeySequence::Save;
    case base::Key::SaveAs:
        return QKeySequence::SaveAs;
    case base::Key::Close:
        return QKeySequence::Close;
    case base::Key::Quit:
        return QKeySequence::Quit;
    case base::Key::Undo:
        return QKeySequence::Undo;
    case base::Key::Redo:
        return QKeySequence::Redo;
    case base::Key::Cut:
        return QKeySequence::Cut;
    case base::Key::Copy:
        return QKeySequence::Copy;
    case base::Key::Paste:
        return QKeySequence::Paste;
    case base::Key::NextChild:
        return QKeySequence::NextChild;
    default:
        return QKeySequence::UnknownKey;
    }
}

// The desktop's own key; where the table names a further one, that too (only where the
// desktop names none, when the table says so).
void setKeys(QAction* a, const base::Entry& e) {
    QList<QKeySequence> keys;
    if (e.key != base::Key::None) keys = QKeySequence::keyBindings(standardKey(e.key));
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
    const auto parentOf = [&](const base::Entry& e) -> QMenu* {
        const auto it = menus.find(name(e.parent));
        return it == menus.end() ? nullptr : it->second;
    };
    for (const base::Entry& e : base::entries()) {
        const QString caption = QString::fromStdString(base::caption(e, texts));
        QMenu* parent = parentOf(e);
        QAction* a = nullptr;
        switch (e.item) {
        case base::Item::Window:
            continue;
        case base::Item::Menu: {
            QMenu* m = parent ? parent->addMenu(caption) : bar->addMenu(caption);
            m->setObjectName(name(e.name));
            menus[name(e.name)] = m;
            a = m->menuAction();
            break;
        }
        case base::Item::Separator:
            a = parent->addSeparator();
            break;
        case base::Item::List:
        case base::Item::CheckList:
            for (int i = e.firstIndex; i < e.firstIndex + e.count; ++i) {
                QAction* item = parent->addAction(QString());
                item->setObjectName(name(e.name) + QString::number(i));
                item->setCheckable(e.item == base::Item::CheckList);
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
        a->setCheckable(e.item == base::Item::Check || e.item == base::Item::Choice);
        if (e.item == base::Item::Choice) {
            QActionGroup*& group = choices[name(e.parent)];
            if (!group) group = new QActionGroup(parent);
            group->addAction(a);
        }
        if (e.shown == base::Shown::WithSerialPorts) a->setVisible(false);
        setKeys(a, e);
        actions[name(e.name)] = a;
    }
    return actions;
}

} // namespace shell
