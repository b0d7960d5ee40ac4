// Program entry of the desktop program.
#include <QApplication>
#include <QMessageBox>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QMessageBox::information(nullptr, "varnhold-extract",
                             "The desktop program is still being built: only its engine exists so far.");
    return 0;
}
