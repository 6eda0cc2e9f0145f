// The reference for start-up time, memory and idle CPU: a bare Qt 6 Widgets dialog program,
// with a few controls and no logic, shown and run modally the way the panel is. With
// "--timer" it also runs a 20 ms timer that does nothing: the floor of the panel's idle cost.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare Dialog"));
    dialog.resize(315, 284);
    (new QPushButton(QStringLiteral("OK"), &dialog))->setGeometry(230, 190, 75, 26);
    (new QCheckBox(QStringLiteral("Option"), &dialog))->setGeometry(25, 34, 120, 15);
    (new QScrollBar(Qt::Vertical, &dialog))->setGeometry(205, 44, 15, 112);
    (new QLineEdit(&dialog))->setGeometry(37, 162, 28, 21);
    QTimer idle;
    if (argc > 1 && std::strcmp(argv[1], "--timer") == 0) {
        idle.start(20);
    }
    return dialog.exec();
}
