#include <gtest/gtest.h>

#include "pictures/batch/SlideShow.h"

using namespace pictra::pictures::batch;

namespace {

class Recorder : public SlideShowPort {
public:
    explicit Recorder(int stopAfter) : m_left(stopAfter) {}
    void show(const std::string& path) override { shown.push_back(path); }
    bool pause(long long milliseconds) override {
        pauses.push_back(milliseconds);
        return --m_left > 0;
    }
    std::vector<std::string> shown;
    std::vector<long long> pauses;

private:
    int m_left;
};

}  // namespace

TEST(SlideShow, FromTheSelectedLineAndAgainWithRepetition) {
    const std::vector<std::string> paths = {"/f/a.jpg", "/f/b.txt", "/f/c.png", "/f/d.gif"};
    Recorder once(100);
    EXPECT_EQ(slideShow(paths, 2, false, 500, once), 2);
    EXPECT_EQ(once.shown, (std::vector<std::string>{"/f/c.png", "/f/d.gif"}));
    EXPECT_EQ(once.pauses, (std::vector<long long>{500, 500}));

    Recorder repeated(5);
    EXPECT_EQ(slideShow(paths, 2, true, 10, repeated), 5);
    EXPECT_EQ(repeated.shown, (std::vector<std::string>{"/f/c.png", "/f/d.gif", "/f/a.jpg", "/f/c.png", "/f/d.gif"}));

    Recorder none(100);
    EXPECT_EQ(slideShow({"/f/x.txt"}, 0, true, 10, none), 0);
}
