// The row of the four social-page buttons that the help and share windows both show, made for
// one window (each button connects to that window's own action).
#pragma once

class QHBoxLayout;
class QPushButton;
class QWidget;

struct SocialButtons {
    explicit SocialButtons(QWidget *window);
    QPushButton *gplus = nullptr;
    QPushButton *facebook = nullptr;
    QPushButton *twitter = nullptr;
    QPushButton *like = nullptr;
    QHBoxLayout *row = nullptr;
};
