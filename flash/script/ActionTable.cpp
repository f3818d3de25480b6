// The action table: every action of SWF 3 to 8 with its payload layout and handler.
#include "flash/script/ActionTable.h"

#include "flash/script/ActionHandlers.h"

#include <array>

namespace flash::script {

namespace {

using namespace actions;
using Payload = flash::script::Payload;

constexpr ActionInfo kActions[] = {
    { 0x04, "NextFrame", Payload::None, nextFrame },
    { 0x05, "PrevFrame", Payload::None, prevFrame },
    { 0x06, "Play", Payload::None, play },
    { 0x07, "Stop", Payload::None, actions::stop },
    { 0x08, "ToggleQuality", Payload::None, toggleQuality },
    { 0x09, "StopSounds", Payload::None, stopSounds },
    { 0x0A, "Add", Payload::None, add },
    { 0x0B, "Subtract", Payload::None, subtract },
    { 0x0C, "Multiply", Payload::None, multiply },
    { 0x0D, "Divide", Payload::None, divide },
    { 0x0E, "Equals", Payload::None, equals },
    { 0x0F, "Less", Payload::None, less },
    { 0x10, "And", Payload::None, logicalAnd },
    { 0x11, "Or", Payload::None, logicalOr },
    { 0x12, "Not", Payload::None, logicalNot },
    { 0x13, "StringEquals", Payload::None, stringEquals },
    { 0x14, "StringLength", Payload::None, stringLength },
    { 0x15, "StringExtract", Payload::None, stringExtract },
    { 0x17, "Pop", Payload::None, actions::pop },
    { 0x18, "ToInteger", Payload::None, toInteger },
    { 0x1C, "GetVariable", Payload::None, getVariable },
    { 0x1D, "SetVariable", Payload::None, setVariable },
    { 0x20, "SetTarget2", Payload::None, setTarget2 },
    { 0x21, "StringAdd", Payload::None, stringAdd },
    { 0x22, "GetProperty", Payload::None, getProperty },
    { 0x23, "SetProperty", Payload::None, setProperty },
    { 0x24, "CloneSprite", Payload::None, cloneSprite },
    { 0x25, "RemoveSprite", Payload::None, removeSprite },
    { 0x26, "Trace", Payload::None, trace },
    { 0x27, "StartDrag", Payload::None, startDrag },
    { 0x28, "EndDrag", Payload::None, endDrag },
    { 0x29, "StringLess", Payload::None, stringLess },
    { 0x2A, "Throw", Payload::None, throwValue },
    { 0x2B, "CastOp", Payload::None, castOp },
    { 0x2C, "ImplementsOp", Payload::None, implementsOp },
    { 0x30, "RandomNumber", Payload::None, randomNumber },
    { 0x31, "MBStringLength", Payload::None, mbStringLength },
    { 0x32, "CharToAscii", Payload::None, charToAscii },
    { 0x33, "AsciiToChar", Payload::None, asciiToChar },
    { 0x34, "GetTime", Payload::None, getTime },
    { 0x35, "MBStringExtract", Payload::None, mbStringExtract },
    { 0x36, "MBCharToAscii", Payload::None, mbCharToAscii },
    { 0x37, "MBAsciiToChar", Payload::None, mbAsciiToChar },
    { 0x3A, "Delete", Payload::None, deleteMember },
    { 0x3B, "Delete2", Payload::None, deleteVariable },
    { 0x3C, "DefineLocal", Payload::None, defineLocal },
    { 0x3D, "CallFunction", Payload::None, callFunction },
    { 0x3E, "Return", Payload::None, returnValue },
    { 0x3F, "Modulo", Payload::None, modulo },
    { 0x40, "NewObject", Payload::None, newObject },
    { 0x41, "DefineLocal2", Payload::None, defineLocal2 },
    { 0x42, "InitArray", Payload::None, initArray },
    { 0x43, "InitObject", Payload::None, initObject },
    { 0x44, "TypeOf", Payload::None, typeOf },
    { 0x45, "TargetPath", Payload::None, targetPath },
    { 0x46, "Enumerate", Payload::None, enumerate },
    { 0x47, "Add2", Payload::None, add2 },
    { 0x48, "Less2", Payload::None, less2 },
    { 0x49, "Equals2", Payload::None, equals2 },
    { 0x4A, "ToNumber", Payload::None, actions::toNumber },
    { 0x4B, "ToString", Payload::None, actions::toString },
    { 0x4C, "PushDuplicate", Payload::None, pushDuplicate },
    { 0x4D, "StackSwap", Payload::None, stackSwap },
    { 0x4E, "GetMember", Payload::None, getMember },
    { 0x4F, "SetMember", Payload::None, setMember },
    { 0x50, "Increment", Payload::None, increment },
    { 0x51, "Decrement", Payload::None, decrement },
    { 0x52, "CallMethod", Payload::None, callMethod },
    { 0x53, "NewMethod", Payload::None, newMethod },
    { 0x54, "InstanceOf", Payload::None, instanceOf },
    { 0x55, "Enumerate2", Payload::None, enumerate2 },
    { 0x60, "BitAnd", Payload::None, bitAnd },
    { 0x61, "BitOr", Payload::None, bitOr },
    { 0x62, "BitXor", Payload::None, bitXor },
    { 0x63, "BitLShift", Payload::None, bitLShift },
    { 0x64, "BitRShift", Payload::None, bitRShift },
    { 0x65, "BitURShift", Payload::None, bitURShift },
    { 0x66, "StrictEquals", Payload::None, actions::strictEquals },
    { 0x67, "Greater", Payload::None, greater },
    { 0x68, "StringGreater", Payload::None, stringGreater },
    { 0x69, "Extends", Payload::None, extends },
    { 0x81, "GotoFrame", Payload::Frame, gotoFrame },
    { 0x83, "GetURL", Payload::GetUrl, getUrl },
    { 0x87, "StoreRegister", Payload::Register, storeRegister },
    { 0x88, "ConstantPool", Payload::ConstantPool, constantPool },
    { 0x8A, "WaitForFrame", Payload::WaitForFrame, waitForFrame },
    { 0x8B, "SetTarget", Payload::Text, setTarget },
    { 0x8C, "GoToLabel", Payload::Text, goToLabel },
    { 0x8D, "WaitForFrame2", Payload::Skip, waitForFrame2 },
    { 0x8E, "DefineFunction2", Payload::Function2, defineFunction2 },
    { 0x8F, "Try", Payload::Try, tryBlock },
    { 0x94, "With", Payload::With, with },
    { 0x96, "Push", Payload::Push, pushValues },
    { 0x99, "Jump", Payload::Branch, jump },
    { 0x9A, "GetURL2", Payload::GetUrl2, getUrl2 },
    { 0x9B, "DefineFunction", Payload::Function, defineFunction },
    { 0x9D, "If", Payload::Branch, branchIf },
    { 0x9E, "Call", Payload::None, callFrame },
    { 0x9F, "GotoFrame2", Payload::GotoFrame2, gotoFrame2 },
};

struct Index {
    std::array<const ActionInfo*, 256> entries {};
    Index()
    {
        for (const ActionInfo& info : kActions)
            entries[info.code] = &info;
    }
};

} // namespace

const ActionInfo* actionInfo(uint8_t code)
{
    static const Index index;
    return index.entries[code];
}

std::span<const ActionInfo> actionTable() { return kActions; }

} // namespace flash::script
