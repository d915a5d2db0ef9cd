#include "conclusioncopy.h"

#include "resultnotice.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>

ConclusionCopy::ConclusionCopy(QLineEdit *result, QWidget *page, ResultNotice *notice,
                               QObject *parent)
    : QObject(parent), m_result(result), m_notice(notice),
      m_action(new QAction(tr("Копировать заключение"), this))
{
    m_action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    m_action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
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
}

void ConclusionCopy::withdraw()
{
    m_text.clear();
    m_html.clear();
}

QString ConclusionCopy::copiedText()
{
    return tr("Заключение скопировано в буфер обмена.");
}

QString ConclusionCopy::nothingToCopyText(bool clearedEarlier)
{
    if (clearedEarlier)
        return tr("Не скопировано: для этих данных вероятность не рассчитана, нажмите «Расчет». "
                  "Прежнее заключение убрано из буфера обмена.");
    return tr("Не скопировано: для этих данных вероятность не рассчитана, нажмите «Расчет».");
}

void ConclusionCopy::copy()
{
    if (m_text.isEmpty()) {
        refuse();
        return;
    }
    auto *data = new QMimeData;
    data->setText(m_text);
    data->setHtml(m_html);
    QApplication::clipboard()->setMimeData(data);
    m_copied = m_text;
    if (m_notice)
        m_notice->say(copiedText());
}

// Without a figure there is no conclusion; one of an earlier press still on
// the clipboard would describe other inputs than those on screen.
void ConclusionCopy::refuse()
{
    QClipboard *clipboard = QApplication::clipboard();
    const bool stale = !m_copied.isEmpty() && clipboard->text() == m_copied;
    if (stale)
        clipboard->clear();
    m_copied.clear();
    if (m_notice)
        m_notice->say(nothingToCopyText(stale));
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
        && !m_result->hasSelectedText()) {
        copy();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
