#pragma once

#include <memory>

class TForm7;
class TForm72;

// The screens created once by program entry, hidden, and shown again and again; they are
// registered with LongLived for the others to reach, and destroyed with this object.
class LongLivedScreens {
public:
    LongLivedScreens();
    ~LongLivedScreens();

private:
    std::unique_ptr<TForm7> m_form7;
    std::unique_ptr<TForm72> m_form72;
};
