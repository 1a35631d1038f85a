// A picture given up while it is decoded: the decoder stops at its next row band,
// so switching pictures never waits for a whole decode.
#include <gtest/gtest.h>

#include <QTest>
#include <atomic>
#include <thread>

#include "PictureFixtures.h"
#include "TempDir.h"
#include "platform/pictures/PictureFiles.h"
#include "platform/pictures/PictureJob.h"

using namespace pictra;
using namespace pictra::test;

namespace {

// Gives the picture up once `after` rows are there, and counts the rows it saw.
class GiveUpAfter : public DecodeObserver {
public:
    GiveUpAfter(std::atomic<bool>& flag, int after) : m_flag(flag), m_after(after) {}
    void started(const Bitmap32&) override {}
    void rowsDone(int rows) override {
        if (m_flag) ++m_late;
        m_rows = rows;
        if (rows >= m_after) m_flag = true;
    }
    int late() const { return m_late; }
    int rows() const { return m_rows; }

private:
    std::atomic<bool>& m_flag;
    int m_after;
    int m_rows = 0;
    int m_late = 0;
};

}  // namespace

TEST(PictureAbandon, TheJpegDecoderStopsAtTheNextRowBand) {
    const std::string jpeg = encodeJpeg(gradient(64, 400), 90);
    std::atomic<bool> flag{false};
    setDecodeAbandonFlag(&flag);
    for (int after : {1, 16, 200}) {
        flag = false;
        GiveUpAfter observer(flag, after);
        JpegPicture picture;
        EXPECT_THROW(decodeJpegInto(jpeg, 8, picture, &observer), DecodeAbandoned) << after;
        // Nothing is decoded after the band in which it was given up (bands are at most 16 rows).
        EXPECT_EQ(observer.late(), 0) << after;
        EXPECT_GE(observer.rows(), after);
        EXPECT_LT(observer.rows(), after + 16);
    }
    // Not given up: the whole picture, and no flag at all is never given up.
    flag = false;
    EXPECT_EQ(decodeJpeg(jpeg).bitmap.height(), 400);
    setDecodeAbandonFlag(nullptr);
    flag = true;
    EXPECT_EQ(decodeJpeg(jpeg).bitmap.height(), 400);
}

TEST(PictureAbandon, DroppingTheLastHandleOfAJobTellsItsDecoder) {
    ASSERT_TRUE(QTest::qWaitFor([] { return PictureJob::running() == 0; }, 20000));
    std::atomic<bool> sawIt{false};
    {
        // The work ends only when it is told that nobody wants it any longer.
        auto job = std::make_shared<PictureJob>([&sawIt] {
            while (!decodeAbandoned()) std::this_thread::yield();
            sawIt = true;
            return LoadedPicture{};
        });
        EXPECT_EQ(PictureJob::running(), 1);
        EXPECT_FALSE(job->ready());
    }
    ASSERT_TRUE(QTest::qWaitFor([] { return PictureJob::running() == 0; }, 20000));
    EXPECT_TRUE(sawIt);
    // A job given up through its decoder: its result is the refusal, not a picture.
    test::TempDir dir;
    dir.write("gross.jpg", encodeJpeg(gradient(512, 2048), 90));
    PictureJob job([path = dir.file("gross.jpg")] {
        while (!decodeAbandoned()) std::this_thread::yield();
        return loadPicture(path);
    });
    job.abandon();
    ASSERT_TRUE(QTest::qWaitFor([&job] { return job.ready(); }, 20000));
    EXPECT_THROW(job.result(), DecodeAbandoned);
}

TEST(PictureAbandon, TheResultIsMovedOutNotCopied) {
    PictureJob job([] {
        LoadedPicture p;
        p.bitmap = gradient(10, 8);
        return p;
    });
    ASSERT_TRUE(QTest::qWaitFor([&job] { return job.ready(); }, 20000));
    EXPECT_EQ(job.result().bitmap.width(), 10);
    EXPECT_EQ(job.takeResult().bitmap.width(), 10);
    EXPECT_TRUE(job.result().bitmap.empty());  // one picture only, in the hands of the taker
}
