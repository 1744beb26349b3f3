// The password document: load, then every question a login or the account page asks.
#include "FuzzSupport.h"

#include "PasswordStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::app();
    fuzzsupport::placeInput(QStringLiteral("password.json"), data, size);
    const fuzzsupport::QtJsonLeakGuard qtJsonLeak(data, size);

    PasswordStore store;
    store.load(fuzzsupport::programFolder());
    for (auto role : {PasswordStore::Role::Administrator, PasswordStore::Role::Operator}) {
        const auto &accounts = store.accounts(role);
        for (auto it = accounts.cbegin(); it != accounts.cend(); ++it) {
            store.checkPassword(role, it.key(), it.value());
            store.checkAdd(it.key(), it.value(), it.value());
            PasswordStore::isBuiltIn(it.key());
        }
    }
    store.checkUnlock(PasswordStore::defaultPassword());
    store.nameTaken(PasswordStore::superUser());
    return 0;
}
