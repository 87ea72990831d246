#include "ui/ProgramEntry.hpp"

int main(int argc, char** argv)
{
    return ostrovik::ui::runApplication(argc, argv);
}
