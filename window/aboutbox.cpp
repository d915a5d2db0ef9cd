#include "aboutbox.h"

#include "velmiraversion.h"

#include <QMessageBox>

QString aboutTitle()
{
    return AboutBox::tr("Об авторах");
}

QString aboutText()
{
    // The last line also names the version, the same as "velmira --version".
    return AboutBox::tr("Программа для расчета вероятности успешной\n"
                        "установки мочеточникого кожуха\n"
                        "Исполнители:\n"
                        "Разработчики программы Velmira\n"
                        "(программный код, рисунок и значок), версия %1")
        .arg(QStringLiteral(VELMIRA_VERSION));
}

void showAboutBox()
{
    QMessageBox::about(nullptr, aboutTitle(), aboutText());
}
