#include "cli/Sifre.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <termios.h>
#include <unistd.h>

std::optional<QString> SifreOku()
{
    if (qEnvironmentVariableIsSet("STOKTRANSFER_PASSWORD"))
        return qEnvironmentVariable("STOKTRANSFER_PASSWORD");
    if (!isatty(STDIN_FILENO))
        return std::nullopt;
    std::fputs("Şifre: ", stderr);
    std::fflush(stderr);
    termios eski{};
    tcgetattr(STDIN_FILENO, &eski);
    termios yeni = eski;
    yeni.c_lflag &= ~tcflag_t(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &yeni);
    std::string satir;
    std::getline(std::cin, satir);
    tcsetattr(STDIN_FILENO, TCSANOW, &eski);
    std::fputs("\n", stderr);
    return QString::fromStdString(satir);
}
