#include "table/qt/CNegotiationDlg.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QWindow>

namespace kelo {

namespace {
constexpr int TITLE_HEIGHT = 24;
constexpr int BUTTON_HEIGHT = 24;
const QColor TITLE_BAND(92, 58, 30);
const QColor BODY(246, 240, 226);
const QColor FRAME(110, 70, 30);
const QColor TEXT(40, 30, 20);

QFont DialogFont(int pixels) {
    QFont font(QStringLiteral("SimSun"));
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                      QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixels);
    font.setWeight(QFont::Medium);
    return font;
}
} // namespace

CNegotiationDlg::CNegotiationDlg(CNegotiationDialog& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_pModel(&model),
      m_title(QString::fromStdString(model.Title())) {
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QString::fromStdString(model.Caption()));
    setFixedSize(model.Width(), model.Height());
    const auto& buttons = model.Buttons();
    const int width = buttons.size() > 2 ? 72 : 64;
    const int gap = 12;
    const int total =
        static_cast<int>(buttons.size()) * width + (static_cast<int>(buttons.size()) - 1) * gap;
    int x = (model.Width() - total) / 2;
    for (const auto& button : buttons) {
        auto* push = new QPushButton(QString::fromStdString(button.label), this);
        push->setFont(DialogFont(12));
        push->setGeometry(x, model.Height() - BUTTON_HEIGHT - 10, width, BUTTON_HEIGHT);
        if (!button.hint.empty())
            push->setToolTip(QString::fromStdString(button.hint));
        const int32_t id = button.id;
        connect(push, &QPushButton::clicked, this, [this, id] {
            if (m_pModel != nullptr)
                m_pModel->Press(id);
        });
        x += width + gap;
    }
    model.SetView(this);
}

CNegotiationDlg::~CNegotiationDlg() {
    if (m_pModel != nullptr)
        m_pModel->SetView(nullptr);
}

QStringList CNegotiationDlg::TextLines() const {
    if (m_pModel == nullptr)
        return {};
    const QString countdown = QString::fromStdString(m_pModel->CountdownLine());
    // The exit dialog shows its seconds on a line of their own; the others within the text.
    if (m_pModel->GetKind() == CNegotiationDialog::Kind::GameClose)
        return {QString::fromStdString(m_pModel->Text()), countdown};
    return {countdown};
}

void CNegotiationDlg::OnDialogChanged() {
    update();
}

void CNegotiationDlg::OnDialogClosed() {
    m_pModel = nullptr;
    close();
}

void CNegotiationDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), BODY);
    painter.fillRect(QRect(0, 0, width(), TITLE_HEIGHT), TITLE_BAND);
    painter.setPen(FRAME);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (!m_title.isEmpty()) {
        painter.setFont(DialogFont(14));
        painter.setPen(Qt::white);
        painter.drawText(QRect(8, 0, width() - 16, TITLE_HEIGHT), Qt::AlignVCenter | Qt::AlignLeft,
                         m_title);
    }
    painter.setFont(DialogFont(14));
    painter.setPen(TEXT);
    const QStringList lines = TextLines();
    const int lineHeight = 20;
    const int bandTop = TITLE_HEIGHT;
    const int bandHeight = height() - TITLE_HEIGHT - BUTTON_HEIGHT - 10;
    int y = bandTop + (bandHeight - lineHeight * static_cast<int>(lines.size())) / 2;
    for (const QString& line : lines) {
        painter.drawText(QRect(8, y, width() - 16, lineHeight), Qt::AlignCenter, line);
        y += lineHeight;
    }
}

void CNegotiationDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && windowHandle() != nullptr)
        windowHandle()->startSystemMove();
}

} // namespace kelo
