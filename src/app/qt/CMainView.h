// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CMainViewButtons.h"
#include "table/CMainViewClock.h"

#include <QImage>

#include <QWidget>
#include <vector>

#include <array>
#include <functional>
#include <string>

class QLabel;

namespace kelo {

class CAnnouncer;
class CButtonBoardWnd;
class CMoveBoxWnd;
class CChatWnd;
class CChessBoardWnd;
class CPersonListWnd;
class CZynChatImp;
class CZynPersonListImp;
class CMainViewModel;
class CSkinManager;
class ISoundPlayer;

// The table window: frameless, of the skin's size and shape. It paints the skin's background,
// the player panels, its own six buttons and the title, holds the board, the button board, the
// people, the chat and the advertisement at the skin's places, and moves with the mouse from
// any free spot.
class CMainView : public QWidget, public IClockView {
public:
    // The skin must outlive the view.
    CMainView(CMainViewModel& model, const CSkinManager& skin, ISoundPlayer* sound,
              QWidget* parent = nullptr);
    ~CMainView() override;

    // What the view's buttons do beyond the window itself.
    std::function<void()> onClose;
    std::function<void()> onHall;
    std::function<void()> onSettings;
    // The hall's head pictures, by index; a player's portrait is the one its record names.
    void SetHeadPictures(std::vector<QImage> pictures);
    // The table's chat and list of people take their places (once; both must outlive the
    // view).
    void SetSocial(CZynChatImp& chat, CZynPersonListImp& people);
    CChatWnd* ChatWindow() const { return m_pChat; }
    CPersonListWnd* PersonListWindow() const { return m_pPeople; }
    void SetAdvertisement(const std::string& url, const std::string& text);

    // Closes the window without asking again: the table has decided.
    void CloseNow();
    // Keeps the window above all other windows, or lets it go back among them, in its place and
    // size; a shown window stays shown.
    void SetShowOnTop(bool onTop);

    CChessBoardWnd* BoardWindow() const { return m_pBoard; }
    CMoveBoxWnd* MoveBoxWindow() const { return m_pMoveBox; }
    // Shows the spoken line and hands it to a screen reader; an alert for endings and
    // requests.
    void Announce(const std::string& line, bool alert = false);
    // A line that holds while the subject (a dialog) is open: an alert.
    void AnnounceWhile(const std::string& line, QObject& subject);
    CButtonBoardWnd* ButtonBoardWindow() const { return m_pButtons; }
    // The view rectangle that the clock of a side repaints.
    QRect ClockArea(bool ownSide) const;

    // Opens the address in the system browser when it is a web address; anything else is
    // refused. True when it was opened.
    static bool OpenWebAddress(const QString& url);

    // IClockView
    void RedrawClock(bool ownSide) override;
    void BringToFront() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void DrawBackground(class QPainter& painter);
    void DrawPanels(QPainter& painter);
    void DrawButtons(QPainter& painter);
    void DrawTitle(QPainter& painter);
    void Act(CMainViewButtons::Id id);
    QRect InView(const struct CRect& rect) const;
    // Stand-ins over the painted panels and buttons for screen readers.
    void AddPaintedParts();
    // Tells each newly applied move once, and a clock that falls under ten seconds.
    void AnnounceMoves();
    void AnnounceLowTime();

    CMainViewModel& m_model;
    const CSkinManager& m_skin;
    QImage m_background;
    std::vector<QImage> m_headPictures;
    QImage m_pieces;
    std::array<QImage, CMainViewButtons::COUNT> m_buttonImages;
    CChessBoardWnd* m_pBoard = nullptr;
    CButtonBoardWnd* m_pButtons = nullptr;
    CMoveBoxWnd* m_pMoveBox = nullptr;
    CAnnouncer* m_pAnnouncer = nullptr;
    // The moves of the game already told; fewer after a new game or a take-back.
    size_t m_nMovesTold = 0;
    // The own clock already told under ten seconds, for the move time and the total.
    bool m_bLowMoveTold = false;
    bool m_bLowTotalTold = false;
    // Until the chat and the list come, plain boxes hold their places.
    QWidget* m_pChatPlace = nullptr;
    QWidget* m_pPeoplePlace = nullptr;
    CChatWnd* m_pChat = nullptr;
    CPersonListWnd* m_pPeople = nullptr;
    QLabel* m_pAdv = nullptr;
    // Set once the close decision has let the window go.
    bool m_bClosing = false;
};

} // namespace kelo
