// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/CMainView.h"

#include "app/CMainViewModel.h"
#include "app/qt/CPaintedPart.h"
#include "base/CSkinManager.h"
#include "base/qt/SkinQt.h"
#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"
#include "chess/CBasePiece.h"
#include "social/qt/CChatWnd.h"
#include "social/qt/CPersonListWnd.h"
#include "table/CTableBoard.h"
#include "table/qt/CAnnouncer.h"
#include "table/qt/CButtonBoardWnd.h"
#include "table/qt/CChessBoardWnd.h"
#include "table/qt/CMoveBoxWnd.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QUrl>
#include <QWindow>

#include <algorithm>

namespace kelo {

namespace {
const char16_t KING_FIGURE = u'\u265A';

// A plain framed box for the windows that have no content of their own yet.
class CPlaceholder : public QWidget {
public:
    CPlaceholder(const QString& caption, QColor back, QWidget* parent)
        : QWidget(parent), m_caption(caption), m_back(back) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), m_back);
        painter.setPen(QColor(120, 100, 70));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setPen(QColor(150, 140, 120));
        QFont font = SkinFont("", 9);
        painter.setFont(font);
        painter.drawText(rect().adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop, m_caption);
    }

private:
    QString m_caption;
    QColor m_back;
};

Qt::Alignment AlignmentOf(const CTextFormat& format) {
    switch (format.m_nAlign) {
    case CTextFormat::ALIGN_RIGHT:
        return Qt::AlignRight;
    case CTextFormat::ALIGN_CENTER:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

// A clock of the user's under ten seconds; bright enough to read on the dark plate.
const QColor LOW_TIME_RED(240, 60, 50);

QRect Inside(const QRect& box) {
    return box;
}
} // namespace

CMainView::CMainView(CMainViewModel& model, const CSkinManager& skin, ISoundPlayer* sound,
                     QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_model(model), m_skin(skin) {
    setWindowTitle(skin.m_strTitle.empty() ? QStringLiteral("国际象棋")
                                           : QString::fromStdString(skin.m_strTitle));
    setFixedSize(skin.m_sizeWindow.x, skin.m_sizeWindow.y);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The window's corners are rounded by the skin's ellipse.
    if (skin.m_ptRoundCorner.x > 0 && skin.m_ptRoundCorner.y > 0) {
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), skin.m_ptRoundCorner.x / 2.0,
                             skin.m_ptRoundCorner.y / 2.0);
        setMask(QRegion(shape.toFillPolygon().toPolygon()));
    }

    m_background = LoadSkinImage(skin.m_strFrmBackPath);
    m_pieces = LoadSkinImage(skin.m_strChessPiecePath);
    const std::string* paths[CMainViewButtons::COUNT] = {
        &skin.m_strClosePath,  &skin.m_strMinPath,     &skin.m_strHallBtnPath,
        &skin.m_strSetBtnPath, &skin.m_strHelpBtnPath, &skin.m_strExitBtnPath};
    std::array<bool, CMainViewButtons::COUNT> hasImage{};
    for (int i = 0; i < CMainViewButtons::COUNT; ++i) {
        m_buttonImages[i] = LoadSkinImage(*paths[i]);
        hasImage[i] = !m_buttonImages[i].isNull();
    }
    model.ViewButtons().SetFromSkin(skin, hasImage);

    CBoardWindowModel& board = model.BoardWindow();
    board.Grid().SetGrid(skin.m_sizePieceInterval, skin.m_sizeChessOffset, skin.m_sizePiece);
    m_pBoard = new CChessBoardWnd(board, skin, this);
    m_pBoard->move(InView(skin.m_rcChessBoard).topLeft());
    // A move or a new game changes the panels: the turn, the move counts, the times.
    m_pBoard->onBoardChanged = [this] {
        update();
        m_pAnnouncer->Recheck();
        AnnounceMoves();
    };
    m_nMovesTold = board.TableBoard().Board().Position().MoveCount();
    // The move box and the spoken line share the title band, between the title and the view's
    // own buttons: the tray below the board holds the captured pieces.
    const CBoardGrid& grid = board.Grid();
    const QRect boardBox = InView(skin.m_rcChessBoard);
    int buttonsLeft = width();
    for (int i = 0; i < CMainViewButtons::COUNT; ++i) {
        const auto id = static_cast<CMainViewButtons::Id>(i);
        if (model.ViewButtons().IsShown(id))
            buttonsLeft =
                std::min(buttonsLeft, ToQRect(model.ViewButtons().ButtonAt(id).rect).left());
    }
    const int bandHeight = std::clamp(boardBox.top() - 2, 16, 24);
    const int bandTop = std::max(0, (boardBox.top() - bandHeight) / 2);
    const int boxLeft = skin.m_nTitleXOffset + 90;
    const int boxWidth = 3 * grid.m_nSquareWidth;
    m_pMoveBox = new CMoveBoxWnd(model.MoveBox(), this);
    m_pMoveBox->setGeometry(boxLeft, bandTop, boxWidth, bandHeight);
    m_pMoveBox->setFont(SkinFont("", 9));
    m_pAnnouncer = new CAnnouncer(this);
    m_pAnnouncer->setFont(SkinFont("", 9));
    m_pAnnouncer->Follow(board.TableBoard().Board());
    // Two lines from the move box's line down over the board's frame, above its squares; a
    // longer line goes over the window's buttons to its right edge.
    const int lineTop = bandTop + (bandHeight - m_pAnnouncer->fontMetrics().height()) / 2;
    const int gridTop = boardBox.top() + skin.m_sizeChessOffset.cy - skin.m_sizePieceInterval.y / 2;
    m_pAnnouncer->SetPlace(
        QRect(boxLeft + boxWidth + 8, lineTop,
              std::max(40, buttonsLeft - 8 - (boxLeft + boxWidth + 8)),
              std::max(bandHeight, std::min(2 * m_pAnnouncer->fontMetrics().lineSpacing() + 2,
                                            gridTop - lineTop))),
        width() - 8, boardBox.top() + boardBox.height() / 3);
    QPalette spoken = m_pAnnouncer->palette();
    spoken.setColor(QPalette::WindowText, QColor(240, 226, 190));
    m_pAnnouncer->setPalette(spoken);
    m_pMoveBox->onAnswer = [this](const QString& line) {
        m_pAnnouncer->Say(line, false, CAnnouncer::About::Position);
    };
    m_pMoveBox->onEscape = [this] { m_pBoard->setFocus(Qt::ShortcutFocusReason); };
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { m_model.Commands().OpenHelp(); });
    auto* toMoveBox = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
    connect(toMoveBox, &QShortcut::activated, this,
            [this] { m_pMoveBox->setFocus(Qt::ShortcutFocusReason); });
    m_pButtons = new CButtonBoardWnd(model.ButtonBoard(), skin, sound, this);
    m_pButtons->move(InView(skin.m_rcButtonBoard).topLeft());

    const QColor listBack =
        skin.m_clrListBack != 0 ? ToQColor(skin.m_clrListBack) : QColor(30, 44, 38);
    m_pPeoplePlace = new CPlaceholder(QStringLiteral("在座的人"), listBack, this);
    m_pPeoplePlace->setGeometry(InView(skin.m_rcUserList));
    m_pChatPlace = new CPlaceholder(QStringLiteral("聊天"), listBack, this);
    m_pChatPlace->setGeometry(InView(skin.m_rcChat));
    m_pAdv = new QLabel(this);
    m_pAdv->setGeometry(InView(skin.m_rcAdv));
    m_pAdv->setTextFormat(Qt::RichText);
    m_pAdv->setFont(SkinFont("", 9));
    m_pAdv->setAlignment(Qt::AlignCenter);
    connect(m_pAdv, &QLabel::linkActivated, this, [](const QString& url) { OpenWebAddress(url); });
    model.SetClockView(this);
    AddPaintedParts();
    // The keys start on the board: arrows and Space play at once.
    m_pBoard->setFocus(Qt::OtherFocusReason);
}

CMainView::~CMainView() {
    m_model.SetClockView(nullptr);
}

void CMainView::AddPaintedParts() {
    CPaintedPart::Install();
    // The player panels: the opponent above, the own side below.
    for (int side = 0; side < 2; ++side) {
        const CSkinManager::PlayerRects& rects = m_skin.m_player[side];
        const QRect box = InView(rects.m_rcHeadPic)
                              .united(InView(rects.m_rcNickName))
                              .united(InView(rects.m_rcPaceNum))
                              .united(InView(rects.m_rcPaceTime));
        auto* panel = new CPaintedPart(
            QAccessible::StaticText,
            [this, side] {
                const CPlayerPanelModel& panels = m_model.Panels();
                if (!panels.Visible())
                    return QString(side == 0 ? "对手：空位" : "自己：空位");
                return QString::fromStdString(CMoveBox::PanelText(panels.SlotAt(side)));
            },
            this);
        panel->setGeometry(box);
        panel->setAccessibleDescription(side == 0 ? QStringLiteral("上方玩家")
                                                  : QStringLiteral("下方玩家"));
    }
    // The view's own buttons.
    static const char* const captions[CMainViewButtons::COUNT] = {"关闭", "最小化", "大厅",
                                                                  "设置", "帮助",   "退出"};
    for (int i = 0; i < CMainViewButtons::COUNT; ++i) {
        const auto id = static_cast<CMainViewButtons::Id>(i);
        auto* button = new CPaintedPart(
            QAccessible::Button, [i] { return QString::fromUtf8(captions[i]); }, this);
        button->press = [this, id] { Act(id); };
        button->enabled = [this, id] { return m_model.ViewButtons().IsEnabled(id); };
        button->setFocusPolicy(Qt::TabFocus);
        button->setGeometry(ToQRect(m_model.ViewButtons().ButtonAt(id).rect));
    }
}

void CMainView::SetHeadPictures(std::vector<QImage> pictures) {
    m_headPictures = std::move(pictures);
    if (m_pPeople != nullptr)
        m_pPeople->SetHeadPictures(m_headPictures);
}

void CMainView::SetSocial(CZynChatImp& chat, CZynPersonListImp& people) {
    if (m_pChat != nullptr)
        return;
    m_pPeople = new CPersonListWnd(people, this);
    m_pPeople->setGeometry(m_pPeoplePlace->geometry());
    m_pPeople->SetHeadPictures(m_headPictures);
    m_pChat = new CChatWnd(chat, this);
    m_pChat->setGeometry(m_pChatPlace->geometry());
    delete m_pPeoplePlace;
    delete m_pChatPlace;
    m_pPeoplePlace = m_pChatPlace = nullptr;
    m_pPeople->show();
    m_pChat->show();
    m_pPeople->setAccessibleName(QStringLiteral("在座的人"));
    m_pChat->setAccessibleName(QStringLiteral("聊天"));
    m_pChat->InputLine()->setAccessibleName(QStringLiteral("聊天输入"));
}

QRect CMainView::InView(const CRect& rect) const {
    return ToQRect(rect).translated(m_skin.m_nClientOffsetX, m_skin.m_nClientOffsetY);
}

void CMainView::SetAdvertisement(const std::string& url, const std::string& text) {
    const QString link = QString::fromStdString(url).toHtmlEscaped();
    m_pAdv->setText(QStringLiteral("<a style=\"color:#f0d890\" href=\"%1\">%2</a>")
                        .arg(link, QString::fromStdString(text).toHtmlEscaped()));
}

bool CMainView::OpenWebAddress(const QString& url) {
    const QUrl address(url);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || (scheme != "http" && scheme != "https") || address.host().isEmpty())
        return false;
    return QDesktopServices::openUrl(address);
}

QRect CMainView::ClockArea(bool ownSide) const {
    const CSkinManager::PlayerRects& rects = m_skin.m_player[ownSide ? 1 : 0];
    const QRect total = InView(rects.m_rcTotalTime);
    const QRect moves = InView(rects.m_rcPaceNum);
    return QRect(QPoint(total.left(), total.top()), QPoint(total.right(), moves.bottom()))
        .united(InView(rects.m_rcPaceTime));
}

void CMainView::RedrawClock(bool ownSide) {
    update(ClockArea(ownSide));
    if (ownSide)
        AnnounceLowTime();
}

void CMainView::Announce(const std::string& line, bool alert) {
    if (m_pAnnouncer != nullptr && !line.empty())
        m_pAnnouncer->Say(QString::fromStdString(line), alert);
}

void CMainView::AnnounceWhile(const std::string& line, QObject& subject) {
    if (m_pAnnouncer != nullptr && !line.empty())
        m_pAnnouncer->SayWhile(QString::fromStdString(line), subject, true);
}

void CMainView::AnnounceMoves() {
    CBaseDiagram& position = m_model.BoardWindow().TableBoard().Board().Position();
    const std::vector<MoveRecord>& moves = position.Moves();
    if (moves.size() < m_nMovesTold) {
        m_nMovesTold = moves.size();
        m_bLowMoveTold = m_bLowTotalTold = false;
        return;
    }
    // A game replayed at once (joining a game under way) tells only its last move.
    if (moves.size() > m_nMovesTold && m_pAnnouncer != nullptr)
        m_pAnnouncer->Say(QString::fromStdString(CBaseDiagram::MoveText(moves.back())), false,
                          CAnnouncer::About::Position);
    if (moves.size() != m_nMovesTold)
        m_bLowMoveTold = false;
    m_nMovesTold = moves.size();
}

void CMainView::AnnounceLowTime() {
    const CMainViewClock& clock = m_model.Clock();
    constexpr int LOW = 10;
    const int move = clock.RemainingMove(true), total = clock.RemainingTotal(true);
    if (!m_model.Panels().SlotAt(1).hot)
        return;
    if (move < LOW && !m_bLowMoveTold) {
        m_bLowMoveTold = true;
        Announce("步时不到 10 秒", true);
    }
    if (total < LOW && !m_bLowTotalTold) {
        m_bLowTotalTold = true;
        Announce("局时不到 10 秒", true);
    }
}

void CMainView::BringToFront() {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void CMainView::SetShowOnTop(bool onTop) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // A new flag makes a new native window, which starts hidden and may be placed anew.
    const bool shown = isVisible();
    const QPoint place = pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    // A window not shown yet is left for the window manager to place.
    if (shown) {
        move(place);
        show();
    }
}

void CMainView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    DrawBackground(painter);
    DrawPanels(painter);
    DrawButtons(painter);
    // No action button: it would open the magic actions, which this table does not have.
    DrawTitle(painter);
}

void CMainView::DrawBackground(QPainter& painter) {
    if (!m_background.isNull()) {
        painter.drawImage(QPoint(0, 0), m_background);
        return;
    }
    // No skin picture: a dark felt surround with inlaid plates under the panels.
    QLinearGradient felt(0, 0, 0, height());
    felt.setColorAt(0, QColor(34, 62, 50));
    felt.setColorAt(1, QColor(22, 42, 34));
    painter.fillRect(rect(), felt);
    painter.fillRect(QRect(0, 0, width(), 24), QColor(20, 30, 26));
    const QColor plate(58, 44, 30), edge(150, 112, 60);
    QFont font = SkinFont("", 9);
    painter.setFont(font);
    for (int side = 0; side < 2; ++side) {
        const CSkinManager::PlayerRects& rects = m_skin.m_player[side];
        QRect box = InView(rects.m_rcHeadPic)
                        .united(InView(rects.m_rcNickName))
                        .united(InView(rects.m_rcPaceNum))
                        .united(InView(rects.m_rcPaceTime))
                        .adjusted(-4, -4, 4, 4);
        if (side == 0)
            box = box.united(InView(m_skin.m_rcPaceAddTime).adjusted(-4, -4, 4, 4))
                      .united(InView(m_skin.m_rcPaceTime).adjusted(-4, -4, 4, 4));
        painter.setPen(QPen(edge, 1));
        painter.setBrush(plate);
        painter.drawRoundedRect(box, 6, 6);
        painter.setPen(QColor(186, 170, 140));
        auto label = [&](const CRect& rect, const char* text) {
            const QRect at = InView(rect);
            painter.drawText(QRect(at.left() - 46, at.top(), 42, at.height()),
                             Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(text));
        };
        label(rects.m_rcTotalTime, "局时");
        label(rects.m_rcPaceNum, "步数");
        const QRect pace = InView(rects.m_rcPaceTime);
        painter.drawText(QRect(pace.left() - 40, pace.top(), 36, pace.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("步时"));
    }
    painter.setPen(QColor(186, 170, 140));
    auto settingLabel = [&](const CRect& rect, const char* text, int width) {
        const QRect at = InView(rect);
        painter.drawText(QRect(at.left() - width - 4, at.top(), width, at.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::fromUtf8(text));
    };
    settingLabel(m_skin.m_rcTotalTime, "总时", 42);
    settingLabel(m_skin.m_rcPaceTime, "每步", 36);
    settingLabel(m_skin.m_rcPaceAddTime, "加秒", 42);
}

void CMainView::DrawPanels(QPainter& painter) {
    const CPlayerPanelModel& panels = m_model.Panels();
    if (!panels.Visible())
        return;
    const QFont nickFont = SkinFont(m_skin.m_strNickNameFontName, m_skin.m_nNickNameFontSize);
    const QFont infoFont = SkinFont(m_skin.m_strPersonInfoFontName, m_skin.m_nPersonInfoFontSize);
    const QColor timeInfo = ToQColor(m_skin.m_clrTimeInfo);
    const QColor personInfo = ToQColor(m_skin.m_clrPersonInfo);
    const QColor hotInfo = ToQColor(m_skin.m_clrHotInfo);
    const Qt::Alignment nickAlign = AlignmentOf(m_skin.m_fmtNickName) | Qt::AlignVCenter;
    const Qt::Alignment userAlign = AlignmentOf(m_skin.m_fmtUserName) | Qt::AlignVCenter;
    auto text = [&](const CRect& rect, const std::string& value, Qt::Alignment align,
                    bool elide = false) {
        const QRect box = InView(rect);
        QString shown = QString::fromStdString(value);
        if (elide)
            shown = painter.fontMetrics().elidedText(shown, Qt::ElideRight, box.width());
        painter.drawText(Inside(box), align, shown);
    };

    const CPlayerPanelModel::Slot panel[2] = {panels.SlotAt(0), panels.SlotAt(1)};
    for (int side = 0; side < 2; ++side) {
        const CSkinManager::PlayerRects& rects = m_skin.m_player[side];
        const CPlayerPanelModel::Slot& slot = panel[side];
        const QRect portrait = InView(rects.m_rcHeadPic);
        if (slot.headPicture >= 0 &&
            static_cast<size_t>(slot.headPicture) < m_headPictures.size() && portrait.width() > 0)
            painter.drawImage(QRect(portrait.topLeft(), QSize(32, 32)),
                              m_headPictures[static_cast<size_t>(slot.headPicture)]);
        painter.setFont(nickFont);
        painter.setPen(ToQColor(m_skin.m_clrNickName));
        text(rects.m_rcNickName, slot.nickname, nickAlign, true);
        painter.setFont(infoFont);
        painter.setPen(personInfo);
        text(rects.m_rcUserName, slot.username, userAlign, true);
    }
    painter.setFont(infoFont);
    painter.setPen(timeInfo);
    const CPlayerPanelModel::Settings settings = panels.TableSettings();
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    text(m_skin.m_rcPaceAddTime, settings.added, left);
    text(m_skin.m_rcPaceTime, settings.pace, left);
    text(m_skin.m_rcTotalTime, settings.total, left);
    text(m_skin.m_player[0].m_rcPaceNum, panel[0].moves, left);
    text(m_skin.m_player[1].m_rcPaceNum, panel[1].moves, left);
    for (int side = 0; side < 2; ++side) {
        const CSkinManager::PlayerRects& rects = m_skin.m_player[side];
        const QColor shown = panel[side].hot ? hotInfo : personInfo;
        painter.setPen(panel[side].lowMove ? LOW_TIME_RED : shown);
        text(rects.m_rcPaceTime, panel[side].moveLeft, left);
        painter.setPen(panel[side].lowTotal ? LOW_TIME_RED : shown);
        text(rects.m_rcTotalTime, panel[side].totalLeft, left);
    }
    // The turn sign: the king of the side to move.
    for (int side = 0; side < 2; ++side) {
        const CPlayerPanelModel::Slot& slot = panel[side];
        if (!IsSide(slot.colour) || !slot.toMove)
            continue;
        const QRect box = InView(m_skin.m_player[side].m_rcColor);
        const int index = SideIndex(slot.colour) * 7 + 4;
        if (!m_pieces.isNull() && m_skin.m_sizePiece.x > 0) {
            painter.drawImage(
                box, m_pieces,
                PictureRect(m_pieces, QRect(index * m_skin.m_sizePiece.x, 0, m_skin.m_sizePiece.x,
                                            m_skin.m_sizePiece.y)));
            continue;
        }
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(box.height());
        QPainterPath path;
        const QString figure = QString(QChar(KING_FIGURE));
        const QRect bounds = QFontMetrics(font).tightBoundingRect(figure);
        path.addText(box.center().x() - bounds.center().x(), box.center().y() - bounds.center().y(),
                     font, figure);
        const bool white = slot.colour == Colour::White;
        // A disc in the opposite tone keeps either king readable on the dark plate.
        painter.setPen(Qt::NoPen);
        painter.setBrush(white ? QColor(70, 56, 40) : QColor(232, 220, 196));
        painter.drawEllipse(box);
        painter.setPen(QPen(white ? QColor(30, 30, 30) : QColor(120, 110, 90), 1.2));
        painter.setBrush(white ? QColor(250, 248, 240) : QColor(20, 20, 20));
        painter.drawPath(path);
    }
}

void CMainView::DrawButtons(QPainter& painter) {
    const CMainViewButtons& buttons = m_model.ViewButtons();
    for (int i = 0; i < CMainViewButtons::COUNT; ++i) {
        const auto id = static_cast<CMainViewButtons::Id>(i);
        if (!buttons.IsShown(id))
            continue;
        const CMainViewButtons::Button& button = buttons.ButtonAt(id);
        const QRect box = ToQRect(button.rect);
        const QImage& image = m_buttonImages[i];
        if (!image.isNull()) {
            // A button that cannot be pressed is drawn faint.
            painter.setOpacity(buttons.IsEnabled(id) ? 1.0 : 0.4);
            painter.drawImage(box, image,
                              PictureRect(image, QRect(button.state * box.width(), 0, box.width(),
                                                       box.height())));
            painter.setOpacity(1.0);
            continue;
        }
        // The caption buttons without pictures: a plain glyph that lights up under the mouse.
        if (button.state != CMainViewButtons::NORMAL)
            painter.fillRect(box, id == CMainViewButtons::CLOSE ? QColor(190, 50, 40)
                                                                : QColor(70, 90, 80));
        painter.setPen(QPen(QColor(230, 220, 200), 1.6));
        const QRect glyph = box.adjusted(box.width() / 2 - 5, box.height() / 2 - 5,
                                         -(box.width() / 2 - 5), -(box.height() / 2 - 5));
        if (id == CMainViewButtons::CLOSE) {
            painter.drawLine(glyph.topLeft(), glyph.bottomRight());
            painter.drawLine(glyph.topRight(), glyph.bottomLeft());
        } else {
            painter.drawLine(glyph.left(), glyph.bottom(), glyph.right(), glyph.bottom());
        }
    }
}

void CMainView::DrawTitle(QPainter& painter) {
    if (m_skin.m_strTitle.size() < 2)
        return;
    painter.setFont(ViewFont(SkinFont("", 10)));
    painter.setPen(ToQColor(m_skin.m_clrTitle));
    painter.drawText(QRect(m_skin.m_nTitleXOffset, m_skin.m_nTitleYOffset, 400, 14),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QString::fromStdString(m_skin.m_strTitle));
}

void CMainView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    if (m_model.ViewButtons().OnLButtonDown(at.x(), at.y()) != CMainViewButtons::NONE) {
        update();
        return;
    }
    // A free spot: the window goes with the mouse.
    if (windowHandle() != nullptr)
        windowHandle()->startSystemMove();
}

void CMainView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    const CMainViewButtons::Id id = m_model.ViewButtons().OnLButtonUp(at.x(), at.y());
    update();
    if (id != CMainViewButtons::NONE)
        Act(id);
}

void CMainView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_model.ViewButtons().OnMouseMove(at.x(), at.y()))
        update();
    // Over a button that cannot be pressed, why not.
    const CMainViewButtons::Id over = m_model.ViewButtons().HitTest(at.x(), at.y());
    setToolTip(over != CMainViewButtons::NONE
                   ? QString::fromStdString(m_model.ViewButtons().WhyOff(over))
                   : QString());
}

void CMainView::leaveEvent(QEvent*) {
    if (m_model.ViewButtons().OnMouseLeave())
        update();
}

void CMainView::Act(CMainViewButtons::Id id) {
    switch (id) {
    case CMainViewButtons::CLOSE:
    case CMainViewButtons::EXIT:
        close();
        break;
    case CMainViewButtons::MINIMIZE:
        showMinimized();
        break;
    case CMainViewButtons::HALL:
        if (onHall)
            onHall();
        break;
    case CMainViewButtons::SETTINGS:
        if (onSettings)
            onSettings();
        break;
    case CMainViewButtons::HELP:
        m_model.Commands().OpenHelp();
        break;
    default:
        break;
    }
}

void CMainView::CloseNow() {
    m_bClosing = true;
    close();
}

void CMainView::closeEvent(QCloseEvent* event) {
    // Closing is the table's decision: during a game it may ask first and keep the window.
    if (m_bClosing || !onClose) {
        event->accept();
        return;
    }
    event->ignore();
    onClose();
}

} // namespace kelo
