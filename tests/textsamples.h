#ifndef VELMIRA_TEXTSAMPLES_H
#define VELMIRA_TEXTSAMPLES_H

#include <QMap>
#include <QString>

#include <functional>

// One text of a translation context as a program shows it: a call into the
// program's code that shows the text, and the text as the source writes it.
struct TextSample {
    std::function<QString()> show;
    QString source; // with its %1, %2 as in the source
};

// A sample for every context a program's texts have, by context name; each
// program's test defines its own (texts_velmira.cpp, texts_stats.cpp).
QMap<QString, TextSample> textSamples();

#endif // VELMIRA_TEXTSAMPLES_H
