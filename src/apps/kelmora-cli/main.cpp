#include <QCoreApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::fprintf(stderr, "usage: kelmora-cli [--config FILE] [--operator CODE] [--password TEXT] COMMAND ...\n");
    return 1;
}
