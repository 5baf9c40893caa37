#include "skin/controls.h"
#include "skin/scrollbar.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>

CTransEdit::CTransEdit(int nId, QWidget* parent) : QPlainTextEdit(parent), m_nId(nId) {
  setReadOnly(true);
  setFrameShape(QFrame::NoFrame);
  // The overlay bar beside the text replaces the edit's own scroll bar.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setContextMenuPolicy(Qt::DefaultContextMenu);
  viewport()->setAutoFillBackground(false);
  QPalette pal = palette();
  pal.setColor(QPalette::Base, Qt::transparent);
  setPalette(pal);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
    viewport()->update();
    emit scrollBarDirty();
  });
  connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, &CTransEdit::scrollBarDirty);
}

void CTransEdit::SetBackground(const QImage* background) {
  m_pBackground = background;
  viewport()->update();
}

void CTransEdit::SetMenuTexts(const QString& copy, const QString& selectAll) {
  m_strCopy = copy;
  m_strSelectAll = selectAll;
  if (m_menu != nullptr) {
    const auto actions = m_menu->actions();
    if (actions.size() >= 2) {
      actions[0]->setText(m_strCopy);
      actions[1]->setText(m_strSelectAll);
    }
  }
}

QMenu* CTransEdit::Menu() {
  if (m_menu == nullptr) {
    m_menu = new QMenu(this);
    m_menu->addAction(m_strCopy, this, [this] { OnMenuCommand(ID_EDIT_COPY); })
        ->setData(ID_EDIT_COPY);
    m_menu->addAction(m_strSelectAll, this, [this] { OnMenuCommand(ID_EDIT_SELECT_ALL); })
        ->setData(ID_EDIT_SELECT_ALL);
  }
  return m_menu;
}

void CTransEdit::OnMenuCommand(int command) {
  if (command == ID_EDIT_COPY) {
    copy();
  } else if (command == ID_EDIT_SELECT_ALL) {
    selectAll();
    ensureCursorVisible();
    viewport()->update();
  }
}

void CTransEdit::DrawInto(QPainter& dc, int x, int y) {
  render(&dc, QPoint(x, y), QRegion(), QWidget::DrawChildren);
}

bool CTransEdit::event(QEvent* event) {
  if (event->type() == CVScrollEvent::TypeId()) {
    const auto* scroll = static_cast<CVScrollEvent*>(event);
    ApplyVScroll(*verticalScrollBar(), scroll->Code(), scroll->Pos());
    viewport()->update();
    emit scrollBarDirty();
    return true;
  }
  return QPlainTextEdit::event(event);
}

void CTransEdit::paintEvent(QPaintEvent* event) {
  QWidget* parent = parentWidget();
  if (m_pBackground != nullptr && parent != nullptr) {
    QPainter painter(viewport());
    const QPoint origin = viewport()->mapTo(parent, QPoint(0, 0));
    painter.drawImage(QPoint(0, 0), *m_pBackground, QRect(origin, viewport()->size()));
  }
  QPlainTextEdit::paintEvent(event);
}

void CTransEdit::mouseMoveEvent(QMouseEvent* event) {
  QPlainTextEdit::mouseMoveEvent(event);
  if (event->buttons() & Qt::LeftButton) {
    emit scrollBarDirty();
    const int first = firstVisibleBlock().blockNumber();
    if (first != m_nFirstLine) {
      m_nFirstLine = first;
      viewport()->update();
    }
  }
}

void CTransEdit::mouseReleaseEvent(QMouseEvent* event) {
  QPlainTextEdit::mouseReleaseEvent(event);
  emit scrollBarDirty();
}

void CTransEdit::wheelEvent(QWheelEvent* event) {
  QPlainTextEdit::wheelEvent(event);
  viewport()->update();
  emit scrollBarDirty();
}

void CTransEdit::contextMenuEvent(QContextMenuEvent* event) {
  Menu()->popup(event->globalPos());
}
