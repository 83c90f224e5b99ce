// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "table/CPromoteChoice.h"

#include <QDialog>
#include <QImage>

namespace kelo {

class IEventLoop;

// The promotion dialog: four pieces to choose from and the seconds left; dragged by any spot
// outside its buttons. When the countdown runs out it closes with the queen.
class CPromoteDlg : public QDialog {
public:
    // The piece sheet of the skin (null to draw figures) and the colour that promotes.
    CPromoteDlg(IEventLoop& loop, const QImage& pieces, Colour colour, QWidget* parent = nullptr);

    PieceKind Chosen() const { return m_choice.Chosen(); }
    CPromoteChoice& Choice() { return m_choice; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CPromoteChoice m_choice;
    QImage m_pieces;
    Colour m_colour;
};

} // namespace kelo
