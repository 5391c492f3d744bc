#include "auxiliary/ui/frmAvviso3.h"
#include "base/ShowMsg.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace base;

namespace auxiliary {

QPointer<frmAvviso3> frmAvviso3::shared_;

frmAvviso3::frmAvviso3(QWidget* owner)
    : QWidget(owner,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      Label(new QLabel(this)), CommClose(new QPushButton("OK", this)) {
    setObjectName("frmAvviso3");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(kAppTitle));
    Label->setObjectName("Label");
    CommClose->setObjectName("CommClose");
    Label->setWordWrap(true);
    Label->setAlignment(Qt::AlignCenter);
    Label->setTextFormat(Qt::PlainText);
    CommClose->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommClose);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label, 1);
    layout->addLayout(buttons);
    setMinimumSize(320, 120);
    connect(CommClose, &QPushButton::clicked, this, &QWidget::close);
}

frmAvviso3* frmAvviso3::instance() {
    return shared_.data();
}

frmAvviso3* frmAvviso3::showNotice(const QString& text, QWidget* owner) {
    const bool created = !shared_;
    if (created) shared_ = new frmAvviso3(owner);
    frmAvviso3* w = shared_.data();
    w->Label->setText(text);
    if (created) {
        w->adjustSize();
        if (owner) {
            const QRect o = owner->frameGeometry();
            w->move(o.center() - QPoint(w->width() / 2, w->height() / 2));
        }
    }
    w->show();
    if (!created) w->raise();
    return w;
}

} // namespace auxiliary
