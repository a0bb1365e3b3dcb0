// Shows a tool tip with the text given as its argument, as any Qt program on
// this display would draw it, so that a test can compare another program's
// tool tip with it pixel for pixel. Runs until it is ended.

#include <QApplication>
#include <QToolTip>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2)
        return 2;
    QToolTip::showText(QPoint(100, 100), QString::fromLocal8Bit(argv[1]));
    return QApplication::exec();
}
