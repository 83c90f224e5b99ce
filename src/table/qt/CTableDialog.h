// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <vector>

class QPushButton;

namespace kelo {

// A dialog in the table's look, drawn by the program: a dark title band with the title in
// white, the lines of text in the middle and a row of buttons at the bottom. It has no frame of
// the system and moves with the mouse from any spot that is not a child widget.
class CTableDialog : public QDialog {
public:
    struct ButtonFace {
        QString label;
        QString hint;
    };

    static constexpr int TITLE_HEIGHT = 24;
    static constexpr int BUTTON_HEIGHT = 24;
    static constexpr int LINE_HEIGHT = 20;

    // caption: the window's caption; title: the text painted in the title band.
    CTableDialog(const QString& caption, const QString& title, QWidget* parent = nullptr);

    const QString& Title() const { return m_title; }
    // The lines of text the dialog shows now, top to bottom.
    virtual QStringList TextLines() const { return m_lines; }

    // The table's dialog font in the given pixel height.
    static QFont DialogFont(int pixels);

protected:
    void SetTextLines(const QStringList& lines);
    // A centred row of buttons along the bottom edge, each as wide as its label needs; the
    // dialog's size must be set before.
    std::vector<QPushButton*> AddButtonRow(const std::vector<ButtonFace>& buttons);
    // The width that the text lines need, with a margin, and at least `least`.
    int WidthForLines(const QStringList& lines, int least) const;
    // The band between the title and the buttons where the text lines are painted.
    virtual QRect TextBand() const;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_title;
    QStringList m_lines;
};

} // namespace kelo
