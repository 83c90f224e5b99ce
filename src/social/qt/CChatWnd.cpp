// SPDX-License-Identifier: GPL-3.0-or-later
#include "social/qt/CChatWnd.h"

#include "base/qt/SkinQt.h"
#include "social/CZynChatImp.h"

#include <QDesktopServices>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>

namespace kelo {

namespace {

// The paper the lines are written on: every colour a line may have reads on it.
const QColor PAPER(246, 240, 226);
const QColor INK(40, 34, 26);

QString Hex(uint32_t colour) {
    return ToQColor(colour).name(QColor::HexRgb).toUpper();
}

} // namespace

CChatWnd::CChatWnd(CZynChatImp& chat, QWidget* parent)
    : QWidget(parent), m_chat(chat), m_pLines(new QTextBrowser(this)),
      m_pInput(new QLineEdit(this)), m_bDump(!qEnvironmentVariableIsEmpty("KELO_SOCIAL_DUMP")) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_pLines, 1);
    layout->addWidget(m_pInput);

    const QFont font = SkinFont("", 9);
    QPalette palette = m_pLines->palette();
    palette.setColor(QPalette::Base, PAPER);
    palette.setColor(QPalette::Text, INK);
    m_pLines->setPalette(palette);
    m_pLines->setFont(font);
    m_pLines->setReadOnly(true);
    m_pLines->setFrameShape(QFrame::NoFrame);
    m_pLines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pLines->document()->setDocumentMargin(3);
    m_pLines->setFocusPolicy(Qt::NoFocus);
    m_pLines->verticalScrollBar()->setStyleSheet(
        QStringLiteral(
            "QScrollBar:vertical { background: %1; width: 8px; border: none; }"
            "QScrollBar::handle:vertical { background: %2; border-radius: 3px; min-height: 16px; "
            "margin: 1px; }"
            "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
            "QScrollBar::add-page, QScrollBar::sub-page { background: none; }")
            .arg(PAPER.darker(108).name(), PAPER.darker(150).name()));
    m_pInput->setPalette(palette);
    m_pInput->setFont(font);
    m_pInput->setPlaceholderText(chat.LocalTable() ? QStringLiteral("本地对局，没有聊天")
                                                   : QStringLiteral("在此输入，回车发送"));
    m_pInput->setEnabled(!chat.LocalTable());
    // The input line takes the keyboard when clicked (or a person is addressed), not when the
    // table window opens.
    m_pInput->setFocusPolicy(Qt::ClickFocus);
    m_pInput->setFixedHeight(QFontMetrics(font).height() + 8);

    for (const CZynChatImp::Line& line : chat.Lines())
        Show(line);
    chat.onLine = [this](const CZynChatImp::Line& line) { Show(line); };
    chat.onInputChanged = [this] {
        m_pInput->setText(QString::fromStdString(m_chat.Input()));
        m_pInput->setFocus();
        m_pInput->end(false);
    };
    // A line with a link opens it in the browser, only when it is a web address.
    m_pLines->setOpenLinks(false);
    connect(m_pLines, &QTextBrowser::anchorClicked, this, [](const QUrl& url) {
        const QString scheme = url.scheme().toLower();
        if (url.isValid() && (scheme == "http" || scheme == "https") && !url.host().isEmpty())
            QDesktopServices::openUrl(url);
    });
    connect(m_pInput, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_chat.SetInput(text.toStdString()); });
    connect(m_pInput, &QLineEdit::returnPressed, this, [this] { Send(); });
}

CChatWnd::~CChatWnd() {
    m_chat.onLine = nullptr;
    m_chat.onInputChanged = nullptr;
}

void CChatWnd::Show(const CZynChatImp::Line& line) {
    const QString text = QString::fromStdString(line.text);
    QTextCursor cursor(m_pLines->document());
    cursor.movePosition(QTextCursor::End);
    if (!m_pLines->document()->isEmpty())
        cursor.insertBlock();
    QTextCharFormat format;
    format.setForeground(ToQColor(line.colour));
    if (!line.link.empty()) {
        format.setAnchor(true);
        format.setAnchorHref(QString::fromStdString(line.link));
        format.setFontUnderline(true);
    }
    cursor.insertText(text, format);
    // The older lines go as the chat forgets them.
    while (m_pLines->document()->blockCount() > static_cast<int>(CZynChatImp::MAX_LINES)) {
        QTextCursor first(m_pLines->document()->firstBlock());
        first.select(QTextCursor::BlockUnderCursor);
        first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        first.removeSelectedText();
    }
    m_pLines->verticalScrollBar()->setValue(m_pLines->verticalScrollBar()->maximum());
    if (m_bDump) {
        std::printf("chat shown: %s %s\n", qPrintable(Hex(line.colour)), text.toUtf8().constData());
        std::fflush(stdout);
    }
}

QTextEdit* CChatWnd::Transcript() const {
    return m_pLines;
}

void CChatWnd::Send() {
    m_chat.SetInput(m_pInput->text().toStdString());
    m_chat.SendInput();
}

} // namespace kelo
