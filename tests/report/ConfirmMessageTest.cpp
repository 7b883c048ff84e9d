#include "report/ConfirmMessage.h"

#include <gtest/gtest.h>

namespace quarvel {
namespace {

TEST(ConfirmMessage, LaysOutActionSubjectAndTarget)
{
    const std::string subject = "/a/Old.TXT";
    const std::string target = "/a/old.txt";
    EXPECT_EQ(ConfirmMessage({"Create Directory", std::nullopt, std::nullopt}), "Create Directory");
    EXPECT_EQ(ConfirmMessage({"Create file", subject, std::nullopt}), "Create file\r\n/a/Old.TXT");
    EXPECT_EQ(ConfirmMessage({"Morph file", subject, target}),
              "Morph file\r\n/a/Old.TXT to \r\n/a/old.txt");
}

} // namespace
} // namespace quarvel
