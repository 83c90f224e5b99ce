// SPDX-License-Identifier: GPL-3.0-or-later
// kelo-bench-bare-window: the floor the table window's start-up is measured against. One
// frameless 1000 x 720 widget that decodes one 1000 x 720 PNG at start and paints it with one
// line of Chinese text in the application font (the CJK fallback font draws the glyphs).
// Nothing else: no D-Bus of its own, no sound, no other picture.
//
// Usage: kelo-bench-bare-window PICTURE.png
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <cstdio>

namespace {
class BareWindow : public QWidget {
public:
    explicit BareWindow(QImage picture) : m_picture(std::move(picture)) {
        setWindowFlag(Qt::FramelessWindowHint);
        setFixedSize(1000, 720);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(QPoint(0, 0), m_picture);
        painter.setPen(Qt::white);
        painter.drawText(QPoint(40, 40), QStringLiteral("国际象棋 本地对局 开始"));
    }

private:
    QImage m_picture;
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PICTURE.png\n", argv[0]);
        return 2;
    }
    QImage picture(QString::fromLocal8Bit(argv[1]));
    if (picture.isNull()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    BareWindow window(std::move(picture));
    window.show();
    return app.exec();
}
