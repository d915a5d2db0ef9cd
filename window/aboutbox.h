#ifndef VELMIRA_ABOUTBOX_H
#define VELMIRA_ABOUTBOX_H

#include <QCoreApplication>
#include <QString>

// The translation context of the About box's texts.
class AboutBox {
    Q_DECLARE_TR_FUNCTIONS(AboutBox)
};

// The About box's title and its five lines: what the program does, who made it
// and, on the last line, the version.
QString aboutTitle();
QString aboutText();

// Shows the About box, modal for the whole application, and returns once it is closed.
void showAboutBox();

#endif // VELMIRA_ABOUTBOX_H
