// Told about the events of a person (the playing tutorials implement it); every callback does nothing by default.
#pragma once

class Customer;
class Person;

class PersonObserver
{
public:
    virtual ~PersonObserver() = default;
    virtual void OnActionFinished(Person& person) {}
    virtual void OnTryOnStarted(Customer& customer) {}
    virtual void OnTryOnFinished(Customer& customer) {}
    virtual void OnCashRegisterHead(Customer& customer) {}
    virtual void OnCustomerServiceHead() {}
};
