// Where the help, rate-us, share, link and promotion windows fill their entries (the links
// themselves are SupportLinks), and the product codes of the promotions.
#pragma once

#include <QString>

class QWidget;
class WindowRegistry;

class SupportCommands
{
public:
    // The product code of a promotion item ("1", "2", "3" or the code itself); "" for another.
    static QString productCode(const QString &argument);

    // Fills Help, RateUs, Share, WebLinks and Promotion; the windows are made on first use as
    // children of parent. appName goes into the promotion contact mails.
    static void fill(WindowRegistry &registry, QWidget *parent, const QString &appName);
};
