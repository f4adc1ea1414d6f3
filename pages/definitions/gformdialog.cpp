#include "pages/definitions/gformdialog.h"

#include "forms/bmessagebox.h"
#include "pages/definitions/gwndipgroup.h"
#include "pages/definitions/gwndtimeint.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

GDefinitionWnd *createPage(GFormDialog::Kind kind, const QString &name, QWidget *parent)
{
    if (kind == GFormDialog::Kind::TimeRanges)
        return new GWndTimeInt(parent, name);
    return new GWndIPGroup(parent, name);
}

} // namespace

bool GFormDialog::edit(Kind kind, const QString &name, QWidget *parent)
{
    GFormDialog dialog(kind, name, parent);
    dialog.exec();
    return dialog.changesApplied();
}

GFormDialog::GFormDialog(Kind kind, const QString &name, QWidget *parent)
    : QDialog(parent)
    , m_page(createPage(kind, name, this))
{
    setObjectName(QStringLiteral("GFormDialog"));
    setModal(true);
    setWindowTitle(name.isEmpty() ? m_page->windowTitle()
                                  : tr("%1 - %2").arg(m_page->windowTitle(), name));
    m_page->enterDialogMode([this] { updateButtons(); });

    const bool readOnly = m_page->isDialogReadOnly();
    m_buttons = new QDialogButtonBox(readOnly ? QDialogButtonBox::Close
                                              : QDialogButtonBox::Ok | QDialogButtonBox::Cancel
                                                     | QDialogButtonBox::Apply,
                                     this);
    m_btnApply = m_buttons->button(QDialogButtonBox::Apply);
    if (m_btnApply)
        connect(m_btnApply, &QPushButton::clicked, this, &GFormDialog::slotApply);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &GFormDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &GFormDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_page);
    layout->addWidget(m_buttons);
    resize(560, 400);
    updateButtons();
    m_page->load(true);
}

void GFormDialog::updateButtons()
{
    if (m_btnApply)
        m_btnApply->setEnabled(m_page->hasDialogChanges());
}

bool GFormDialog::slotApply()
{
    if (!m_page->hasDialogChanges())
        return true;
    if (!m_page->applyDialogChanges())
        return false;
    m_applied = true;
    updateButtons();
    return true;
}

void GFormDialog::accept()
{
    if (slotApply())
        QDialog::accept();
}

void GFormDialog::reject()
{
    if (m_page->hasDialogChanges()) {
        switch (bmessagebox::askSave(this, tr("Do you want to save changes?"))) {
        case QMessageBox::Yes:
            if (!slotApply())
                return;
            break;
        case QMessageBox::No:
            m_page->discardDialogChanges();
            break;
        default:
            return;
        }
    }
    QDialog::reject();
}
