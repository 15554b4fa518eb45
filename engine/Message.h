#pragma once
// What travels over the message bus: a typed text with an optional owned payload, and the
// subscriptions that receive them.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class Button;

namespace Msg
{
// The base of message payloads; receivers recognise a payload by its type id.
class MessagePayload
{
public:
    explicit MessagePayload(uint64_t typeId = 0) : TypeId(typeId) {}
    virtual ~MessagePayload() = default;
    uint64_t TypeId;
};

// 64-bit FNV-1a of a text, computed at each call.
uint64_t Fnv1a64(std::string_view text);
}   // namespace Msg

// Posted by a button behaviour when it was clicked.
class ButtonClickedMessage : public Msg::MessagePayload
{
public:
    explicit ButtonClickedMessage(Button* button) : MessagePayload(TypeHash()), ClickedButton(button) {}
    static uint64_t TypeHash() { return Msg::Fnv1a64("ButtonClickedMessage"); }
    Button* ClickedButton;
};

// Message type numbers.
namespace MessageType
{
constexpr int Engine = 0;
constexpr int Input = 1;
constexpr int Cursor = 2;
constexpr int MouseButton = 3;
constexpr int Scene = 4;
constexpr int Unload = 5;
constexpr int Load = 6;
constexpr int Score = 7;
constexpr int Camera = 8;
constexpr int Window = 9;
constexpr int Error = 10;
}   // namespace MessageType

const char* MessageTypeName(int type);   // "INPUT", "SCENE", ...; "INVALID" for unnamed types

struct Message
{
    int type = 0;
    std::string text;
    std::unique_ptr<Msg::MessagePayload> payload;   // owned by the queue
    bool handled = false;
};

using TextCallback = std::function<bool(std::string)>;
using PayloadCallback = std::function<bool(std::string, Msg::MessagePayload*)>;

struct Subscriber
{
    enum Kind
    {
        Text = 1,
        Payload = 2
    };
    int type = 0;
    int kind = Text;
    std::string name;
    TextCallback textCallback;
    PayloadCallback payloadCallback;
    int lifetime = -1;   // -1 permanent, > 0 removed after its first handled delivery, 0 to be removed
    const void* owner = nullptr;   // the object whose destruction ends the subscription
};
