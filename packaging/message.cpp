// orbitra-table-message TEXT: shows TEXT in an error message box. The
// orbitra-table launcher uses it to explain, when started from a menu, why the
// program could not start; it needs nothing that the program does not.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QString>
#include <QStringList>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(ORBITRA_APP_ID)));
    const QStringList arguments = QApplication::arguments();
    QMessageBox::critical(nullptr, QStringLiteral("Orbitra Table"),
                          arguments.mid(1).join(QLatin1Char('\n')));
    return 0;
}
