#pragma once
// A deferred message bus. Messages posted during a frame are delivered at EndFrame to every
// subscriber of the same type, in subscription order; the queue then frees their payloads.
// A subscription made with an owner ends when Unsubscribe(owner) runs, which every subscribing
// object does in its destructor, so no callback ever reaches a destroyed object. Messages
// posted while a delivery runs wait for the next frame's delivery.
#include "engine/BaseSystem.h"
#include "engine/Message.h"

#include <vector>

class MessagingSystem : public BaseSystem
{
public:
    static MessagingSystem& GetInstance();

    void BeginFrame() override;   // removes subscriptions whose lifetime reached 0
    void EndFrame() override;     // Dispatch

    void Post(int type, std::string text);
    void PostButtonClicked(std::string text, std::unique_ptr<ButtonClickedMessage> payload);

    void Subscribe(int type, std::string name, TextCallback callback, const void* owner = nullptr);
    void SubscribeWithPayload(std::string name, PayloadCallback callback, const void* owner);
    void Unsubscribe(const void* owner);   // ends every subscription of that owner at once

    void Dispatch();

    const std::vector<Subscriber>& Subscribers() const { return subscribers; }
    size_t QueuedCount() const { return queue.size(); }
    void Clear();   // drops every message and subscription (tests)

private:
    MessagingSystem() : BaseSystem("Messaging System") {}

    std::vector<Message> queue;
    std::vector<Subscriber> subscribers;
};
