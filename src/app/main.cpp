#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("ZENKAN地図 作成"));
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Velmot"));
    w.resize(560, 420);
    w.show();
    return app.exec();
}
