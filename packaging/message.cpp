// orbitra-table-message [--note] TEXT: shows TEXT in an error message box, or
// with --note in an information box. The orbitra-table launcher uses it to
// explain, when started from a menu, why the program could not start, and to
// tell of corrections an upgrade left out for the user's own edits; it needs
// nothing that the program does not.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QString>
#include <QStringList>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(ORBITRA_APP_ID)));
    const QStringList arguments = QApplication::arguments().mid(1);
    const bool note = !arguments.isEmpty() && arguments.front() == QLatin1String("--note");
    const QString text = arguments.mid(note ? 1 : 0).join(QLatin1Char('\n'));
    if (note) {
        QMessageBox::information(nullptr, QStringLiteral("Orbitra Table"), text);
    } else {
        QMessageBox::critical(nullptr, QStringLiteral("Orbitra Table"), text);
    }
    return 0;
}
