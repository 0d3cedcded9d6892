// SPDX-License-Identifier: GPL-3.0-or-later
// The window program. For now it shows the two tabs that the Japanese and Chinese tools will fill.
#include <QApplication>
#include <QTabWidget>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QTabWidget window;
    window.setObjectName(QStringLiteral("Main"));
    window.setWindowTitle(QStringLiteral("Lirobel  V" LIROBEL_VERSION));
    window.addTab(new QWidget, QStringLiteral("日语歌词处理"));
    window.addTab(new QWidget, QStringLiteral("自动中文调教"));
    window.setFixedSize(533, 552);
    window.show();
    return QApplication::exec();
}
