#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The state of one analysis-and-compare run on the main window: the one channel through which its
// handlers share data. A plain record; the handlers read and write the fields directly.
struct CheckState
{
    QString searchUrl;        // query URL of the latest compare step
    QStringList sentences;    // the article cut into pieces, untrimmed
    int nextIndex = 0;        // sentence the next compare step searches; 1-based number of the last one
    int lastIndex = 0;        // sentence searched by the latest compare step
    int pageCount = 0;        // one more than the result pages scored in this run
    bool autoRun = false;     // the automatic run is on
    QStringList titleBlocks;  // HTML of each result heading, ten slots per sentence, plus one spare
    QStringList titleTexts;   // title text of each heading, same slots
    QList<int> titleCounts;   // occurrences counted by the statistics, same slots
    double similaritySum = 0; // sum of the sentence similarities, in percent points
    bool statsPending = false;     // compare steps ran since the statistics last counted
    QString articleText;           // the normalised text that analysis cut into sentences
    bool firstStepPending = false; // the next list click only chooses where the run starts
    QString pageHtml;              // body HTML of the latest result page
    QString pageText;              // that page reduced to its double-byte characters
    QString markedPage;            // that page with title tags marked and highlight tags removed
};
