#include "app/unavailablewnd.h"

#include "app/fpage.h"

#include <QLabel>
#include <QVBoxLayout>

UnavailableWnd::UnavailableWnd(const QString &sectionText, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("UnavailableWnd"));
    auto *label
            = new QLabel(tr("<h3>%1</h3><p>This section is not available in this version of the "
                            "Administration Console.</p>")
                                 .arg(sectionText.toHtmlEscaped()),
                         this);
    label->setObjectName(QStringLiteral("m_lblUnavailable"));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    FPage::setLoaded(this);
}
