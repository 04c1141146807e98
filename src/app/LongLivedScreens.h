#pragma once

#include <memory>

class TForm7;
class TForm14;
class TForm15;
class TForm18;
class TForm22;
class TForm72;

// The screens created once by program entry, hidden, and shown again and again; they are
// registered with LongLived for the others to reach, and destroyed with this object.
// Links the screens one folder opens from another's (see ScreenLinks); done once by program
// entry, and by tests that open such a screen.
void linkScreens();

class LongLivedScreens {
public:
    LongLivedScreens();
    ~LongLivedScreens();

private:
    std::unique_ptr<TForm7> m_form7;
    std::unique_ptr<TForm14> m_form14;
    std::unique_ptr<TForm15> m_form15;
    std::unique_ptr<TForm18> m_form18;
    std::unique_ptr<TForm22> m_form22;
    std::unique_ptr<TForm72> m_form72;
};
