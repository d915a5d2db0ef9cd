#include "conclusioncopy.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

ConclusionCopy::ConclusionCopy(QLineEdit *result, QWidget *page, QObject *parent)
    : QObject(parent), m_result(result), m_action(new QAction(tr("Копировать заключение"), this))
{
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    m_action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_action->setEnabled(false);
    page->addAction(m_action);
    connect(m_action, &QAction::triggered, this, &ConclusionCopy::copy);

    m_result->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_result, &QWidget::customContextMenuRequested, this, &ConclusionCopy::showMenu);
    m_result->installEventFilter(this);
}

void ConclusionCopy::offer(const QString &text, const QString &html)
{
    m_text = text;
    m_html = html;
    m_action->setEnabled(true);
}

void ConclusionCopy::withdraw()
{
    m_text.clear();
    m_html.clear();
    m_action->setEnabled(false);
}

// Reached only through the action or the filter, both of which need it enabled.
void ConclusionCopy::copy() const
{
    auto *data = new QMimeData;
    data->setText(m_text);
    data->setHtml(m_html);
    QApplication::clipboard()->setMimeData(data);
}

// The field's own menu (select all, copy the figure) with the conclusion below.
void ConclusionCopy::showMenu(const QPoint &position)
{
    QMenu *menu = m_result->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addAction(m_action);
    menu->popup(m_result->mapToGlobal(position));
}

// Ctrl+C with nothing selected would copy nothing; it copies the conclusion.
bool ConclusionCopy::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_result && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)
        && !m_result->hasSelectedText() && m_action->isEnabled()) {
        copy();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
