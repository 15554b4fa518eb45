#include "engine/MessagingSystem.h"

#include "engine/TraceSystem.h"

uint64_t Msg::Fnv1a64(std::string_view text)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text)
    {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

const char* MessageTypeName(int type)
{
    switch (type)
    {
    case MessageType::Engine:
        return "ENGINE";
    case MessageType::Input:
        return "INPUT";
    case MessageType::Scene:
        return "SCENE";
    case MessageType::Unload:
        return "UNLOAD";
    case MessageType::Load:
        return "LOAD";
    case MessageType::Score:
        return "SCORE";
    case MessageType::Camera:
        return "CAMERA";
    case MessageType::Error:
        return "ERROR";
    default:
        return "INVALID";
    }
}

MessagingSystem& MessagingSystem::GetInstance()
{
    static MessagingSystem instance;
    return instance;
}

void MessagingSystem::BeginFrame()
{
    // Each dead subscription takes the last one's place, so the order changes by that swap.
    for (size_t i = 0; i < subscribers.size();)
    {
        if (subscribers[i].lifetime == 0)
        {
            if (i + 1 != subscribers.size())
                subscribers[i] = subscribers.back();
            subscribers.pop_back();
            if (i < subscribers.size() && subscribers[i].lifetime == 0)
                continue;   // the swapped-in one is dead too
        }
        ++i;
    }
}

void MessagingSystem::EndFrame() { Dispatch(); }

void MessagingSystem::Post(int type, std::string text)
{
    queue.push_back(Message{type, std::move(text), nullptr, false});
}

void MessagingSystem::PostButtonClicked(std::string text, std::unique_ptr<ButtonClickedMessage> payload)
{
    queue.push_back(Message{MessageType::Input, std::move(text), std::move(payload), false});
}

void MessagingSystem::Subscribe(int type, std::string name, TextCallback callback, const void* owner)
{
    Subscriber s;
    s.type = type;
    s.kind = Subscriber::Text;
    s.name = std::move(name);
    s.textCallback = std::move(callback);
    s.owner = owner;
    subscribers.push_back(std::move(s));
}

void MessagingSystem::SubscribeWithPayload(std::string name, PayloadCallback callback, const void* owner)
{
    Subscriber s;
    s.type = MessageType::Input;
    s.kind = Subscriber::Payload;
    s.name = std::move(name);
    s.payloadCallback = std::move(callback);
    s.owner = owner;
    subscribers.push_back(std::move(s));
}

void MessagingSystem::Unsubscribe(const void* owner)
{
    if (!owner)
        return;
    // Ended subscriptions stay in the list, silent, until BeginFrame removes them: a delivery
    // in progress may be walking the list.
    for (Subscriber& s : subscribers)
        if (s.owner == owner)
        {
            s.textCallback = nullptr;
            s.payloadCallback = nullptr;
            s.owner = nullptr;
            s.lifetime = 0;
        }
}

void MessagingSystem::Dispatch()
{
    std::vector<Message> delivering;
    delivering.swap(queue);
    for (Message& message : delivering)
    {
        for (size_t i = 0; i < subscribers.size(); ++i)
        {
            if (subscribers[i].type != message.type)
                continue;
            // Copy the callbacks: a callback may subscribe, which can move the list.
            if (TextCallback text = subscribers[i].textCallback)
                message.handled = text(message.text);
            if (message.payload && i < subscribers.size())
                if (PayloadCallback withPayload = subscribers[i].payloadCallback)
                    message.handled = withPayload(message.text, message.payload.get());
            if (message.handled && i < subscribers.size() && subscribers[i].lifetime > 0)
            {
                TraceLevelMessage(1, "%s responded to: %s", subscribers[i].name.c_str(),
                                  message.text.c_str());
                subscribers[i].lifetime = 0;
            }
        }
        message.payload.reset();
    }
}

void MessagingSystem::Clear()
{
    queue.clear();
    subscribers.clear();
}
