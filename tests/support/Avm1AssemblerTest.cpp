// The assembler's encodings, checked against bytes worked out by hand from the action layouts.
#include "Avm1Assembler.h"

#include <gtest/gtest.h>

using namespace swfw;

using Bytes = std::vector<uint8_t>;

TEST(Avm1Assembler, BranchesResolveForwardAndBackwardFromTheNextAction)
{
    Avm1Assembler a;
    const Label top = a.newLabel();
    const Label done = a.newLabel();
    a.bind(top).push("i").getVariable().ifOp(done).jump(top).bind(done).stop();
    EXPECT_EQ(a.bytes(), (Bytes{0x96, 0x03, 0x00, 0x00, 'i', 0x00, // Push "i"
                                0x1C,                               // GetVariable
                                0x9D, 0x02, 0x00, 0x05, 0x00,       // If +5 (over the Jump)
                                0x99, 0x02, 0x00, 0xEF, 0xFF,       // Jump -17 (to the start)
                                0x07, 0x00}));                      // Stop, End
}

TEST(Avm1Assembler, PushStoresEachTypeInOneAction)
{
    Avm1Assembler a;
    a.push("a", 1, 2.5, true, Null, Undefined, reg(3), constant(4), constant(300), f32(1.5f));
    EXPECT_EQ(a.code(), (Bytes{0x96, 0x21, 0x00,
                               0x00, 'a', 0x00,
                               0x07, 0x01, 0x00, 0x00, 0x00,
                               0x06, 0x00, 0x00, 0x04, 0x40, 0x00, 0x00, 0x00, 0x00, // high half first
                               0x05, 0x01,
                               0x02,
                               0x03,
                               0x04, 0x03,
                               0x08, 0x04,
                               0x09, 0x2C, 0x01,
                               0x01, 0x00, 0x00, 0xC0, 0x3F}));
}

TEST(Avm1Assembler, PayloadActionsAreLaidOutAsStored)
{
    Avm1Assembler a;
    a.gotoFrame(258).gotoLabel("go").waitForFrame(7, 2).waitForFrame2(1).storeRegister(3)
        .constantPool({"x", "yz"}).getUrl("u", "t").getUrl2(UrlMethod::Post, UrlTarget::Sprite, UrlLoad::Variables)
        .gotoFrame2(AfterGoto::Play, 5).gotoFrame2(AfterGoto::Stop).setTarget("/a").call();
    EXPECT_EQ(a.code(), (Bytes{0x81, 0x02, 0x00, 0x02, 0x01,
                               0x8C, 0x03, 0x00, 'g', 'o', 0x00,
                               0x8A, 0x03, 0x00, 0x07, 0x00, 0x02,
                               0x8D, 0x01, 0x00, 0x01,
                               0x87, 0x01, 0x00, 0x03,
                               0x88, 0x07, 0x00, 0x02, 0x00, 'x', 0x00, 'y', 'z', 0x00,
                               0x83, 0x04, 0x00, 'u', 0x00, 't', 0x00,
                               0x9A, 0x01, 0x00, 0xC2,
                               0x9F, 0x03, 0x00, 0x03, 0x05, 0x00,
                               0x9F, 0x01, 0x00, 0x00,
                               0x8B, 0x03, 0x00, '/', 'a', 0x00,
                               0x9E, 0x00, 0x00}));
}

TEST(Avm1Assembler, NestedBodiesFollowTheirHeadersWithComputedSizes)
{
    Avm1Assembler body;
    const Label end = body.newLabel();
    body.jump(end).bind(end).push(reg(1)).returnOp(); // labels resolve inside the body
    Avm1Assembler a;
    a.defineFunction2("f", 3, function2::PreloadThis | function2::SuppressArguments, {{1, "x"}}, body)
        .defineFunction("g", {"a", "b"}, Avm1Assembler())
        .with(Avm1Assembler().stop())
        .tryOp({.body = Avm1Assembler().push(1).throwOp(),
                .catchInto = CatchRegister{2},
                .catchBody = Avm1Assembler().pop(),
                .finallyBody = Avm1Assembler().stop()})
        .tryOp({.body = Avm1Assembler().stop(), .catchInto = "e", .catchBody = Avm1Assembler()});
    EXPECT_EQ(a.code(), (Bytes{0x8E, 0x0C, 0x00, 'f', 0x00, 0x01, 0x00, 0x03, 0x09, 0x00, 0x01, 'x', 0x00, 0x0B, 0x00,
                               0x99, 0x02, 0x00, 0x00, 0x00, 0x96, 0x02, 0x00, 0x04, 0x01, 0x3E,
                               0x9B, 0x0A, 0x00, 'g', 0x00, 0x02, 0x00, 'a', 0x00, 'b', 0x00, 0x00, 0x00,
                               0x94, 0x02, 0x00, 0x01, 0x00, 0x07,
                               0x8F, 0x08, 0x00, 0x07, 0x09, 0x00, 0x01, 0x00, 0x01, 0x00, 0x02,
                               0x96, 0x05, 0x00, 0x07, 0x01, 0x00, 0x00, 0x00, 0x2A, 0x17, 0x07,
                               0x8F, 0x09, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 'e', 0x00, 0x07}));
}

TEST(Avm1Assembler, MisuseIsRefusedButRawBytesPassUnchecked)
{
    Avm1Assembler a;
    Avm1Assembler other;
    EXPECT_THROW(a.jump(other.newLabel()), std::invalid_argument);
    a.jump(a.newLabel());
    EXPECT_THROW((void)a.code(), std::logic_error);
    EXPECT_THROW(Avm1Assembler().push(std::string(70000, 'x')), std::length_error);
    EXPECT_THROW(Avm1Assembler().push(std::string("a\0b", 3)), std::invalid_argument);

    // A Push that claims more bytes than follow, and a jump far out of the block.
    Avm1Assembler hostile;
    hostile.raw({0x96, 0x09, 0x00, 0x07}).jump(int16_t{-30000}).action(0x88, Bytes{0xFF, 0xFF});
    EXPECT_EQ(hostile.bytes(), (Bytes{0x96, 0x09, 0x00, 0x07, 0x99, 0x02, 0x00, 0xD0, 0x8A, 0x88, 0x02, 0x00, 0xFF, 0xFF, 0x00}));
}
