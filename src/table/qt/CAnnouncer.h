// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>
#include <QPointer>

namespace kelo {

class CBaseBoard;

// The table's spoken line: the moves, the endings, the requests and answers, the move box's
// answers. A screen reader follows it through the name-change event of this status object;
// endings and requests also raise an alert. It shows the same line on screen, whole: on two
// lines, or in a wider box of its own when two are too short.
// A line stays only while what it says holds: a move, or an answer about the position, until
// the next move or a take-back; a dialog's text until the dialog closes; anything else until the
// game on the board gives way to the next.
class CAnnouncer : public QLabel {
public:
    // What a line speaks of: the game, or the position as it stands (a move, the move box's
    // answers).
    enum class About { Game, Position };

    explicit CAnnouncer(QWidget* parent = nullptr);

    // The board whose game the lines speak of; without one, lines stay until replaced.
    void Follow(CBaseBoard& board);
    // Where the line sits (two lines' height from the first line's top), and how far to the
    // right and down a box of a longer line may reach.
    void SetPlace(const QRect& band, int boxRight, int lowest);

    // Shows and publishes the line; an alert for what must not be missed.
    void Say(const QString& line, bool alert = false, About about = About::Game);
    // A line that holds while the subject (a dialog) is there.
    void SayWhile(const QString& line, QObject& subject, bool alert = false);
    // Clears the line when what it says no longer holds; the table calls it at every change of
    // the board.
    void Recheck();
    // What the line says now (empty when cleared).
    const QString& Line() const { return m_line; }
    // The line is too long for the band's two lines and shows as a box below it.
    bool Boxed() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool Holds() const;
    void Clear();
    void Show(const QString& line);
    void SetBoxed(bool boxed);

    CBaseBoard* m_pBoard = nullptr;
    QRect m_band;
    int m_nBoxRight = 0;
    int m_nLowest = 0;
    QString m_line;
    About m_about = About::Game;
    uint32_t m_nGameSerial = 0;
    size_t m_nMoveCount = 0;
    // Set for a line that holds while its subject lives.
    bool m_bWhile = false;
    QPointer<QObject> m_pSubject;
};

} // namespace kelo
