#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The state of one analysis-and-compare run on the main window. A plain record written by the check
// run (search::CheckRun) and, for the counts, by the statistics; the result titles and what each
// sentence's search found live in the run's record.
struct CheckState
{
    QString searchUrl;        // query URL of the latest compare step
    QStringList sentences;    // the article cut into pieces, untrimmed
    int nextIndex = 0;        // sentence the next compare step searches; 1-based number of the last one
    int lastIndex = 0;        // sentence searched by the latest compare step
    int pageCount = 0;        // one more than the result pages scored in this run
    bool autoRun = false;     // the automatic run is on
    QList<int> titleCounts;   // occurrences the statistics counted, per title slot (see search::TitleSlots)
    double similaritySum = 0; // sum of the sentence similarities, in percent points
    bool statsPending = false;     // compare steps ran since the statistics last counted
    QString articleText;           // the normalised text that analysis cut into sentences
    bool firstStepPending = false; // the next list click only chooses where the run starts
};
