#include <QApplication>
#include <clocale>

#include <gtest/gtest.h>

// Window tests need one QApplication for the whole run.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
