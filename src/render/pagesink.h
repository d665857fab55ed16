#pragma once

#include <QSize>
#include <QString>

#include <memory>

class CPage;

// Where the pages of a run go as the layout finishes them, one at a time and in order: a page
// model that keeps them all (the preview), a writer that writes each page and drops it (PDF),
// a queue to a writer on another thread. All calls come from the layout's thread.
//
// StartPage and AddPage may wait before they answer: that holds the layout back until the sink
// can take more (a full queue in AddPage; a viewer that wants no more pages yet in StartPage,
// so that the last page is followed by Finish at once). A sink that waits must also stop
// waiting when its owner cancels the run or tells the sink to stop.
class CPageSink
{
public:
    // What the layout does after a page.
    enum class Next {
        More, // lay out the next page
        Enough, // stop here: the run ends without a failure, but incomplete
        Fail, // stop here: the run fails with the sink's message
    };

    virtual ~CPageSink() = default;

    // Before the first page: the size of every page in hundredths of a millimetre (landscape
    // already applied). False, with a message, fails the run before anything is laid out.
    virtual bool Begin(QSize pageSize, QString &message)
    {
        Q_UNUSED(pageSize);
        Q_UNUSED(message);
        return true;
    }

    // The layout has something to put on page number (counted from 1) and is about to start
    // it. Not called for the first page.
    virtual Next StartPage(int number, QString &message)
    {
        Q_UNUSED(number);
        Q_UNUSED(message);
        return Next::More;
    }

    // A finished page; number counts from 1. message is filled when the answer is Fail.
    virtual Next AddPage(std::shared_ptr<const CPage> page, int number, QString &message) = 0;

    // Whether the layout breaks the texts of each page into lines before it hands the page over
    // (CPage::GetTextLines): worth it for a sink whose pages are drawn on another thread while
    // the layout goes on, not for pages that are kept.
    virtual bool WantsTextLines() const { return false; }
    // Whether the layout lists the texts of each page that are cut at their box
    // (CPage::GetCutTexts), which takes breaking every text into lines.
    virtual bool WantsCutTexts() const { return false; }

    // After the last page, only when the layout went through to the end of the report.
    virtual bool Finish(int pageCount, QString &message)
    {
        Q_UNUSED(pageCount);
        Q_UNUSED(message);
        return true;
    }
};
