// @ts-check
// An IndexedDB database of the two stores the page keeps its character in, as much of it as the keeping
// uses, for Node, which has none: a transaction's requests answer in turn after the caller's code, its
// writes land together when it completes, and `full` aborts any transaction that writes, leaving the
// stores as they were, as a browser does when its storage is full.

/** Keys from `lower` (and to `upper`), as IDBKeyRange's lowerBound and bound make them. */
class KeyRange {
    /** @param {number} lower @param {number} upper */
    constructor(lower, upper = Infinity) {
        this.lower = lower;
        this.upper = upper;
    }
    /** @param {number} key */
    includes(key) {
        return key >= this.lower && key <= this.upper;
    }
    /** @param {number} lower */
    static lowerBound(lower) {
        return new KeyRange(lower);
    }
    /** @param {number} lower @param {number} upper */
    static bound(lower, upper) {
        return new KeyRange(lower, upper);
    }
}
globalThis.IDBKeyRange ??= /** @type {any} */ (KeyRange);

export function fakeDatabase() {
    /** @type {{[store: string]: Map<any, any>}} */
    const stores = { character: new Map(), steps: new Map() };
    const database = {
        full: false,
        stores,
        close() {},
        transaction() {
            /** @type {{[store: string]: Map<any, any>}} */
            const staged = { character: new Map(stores.character), steps: new Map(stores.steps) };
            let wrote = false;
            let pending = 0;
            let done = false;
            const transaction = {
                /** @type {(() => void) | null} */ oncomplete: null,
                /** @type {(() => void) | null} */ onabort: null,
                /** @param {string} name */
                objectStore(name) {
                    const store = staged[name];
                    /** @param {() => any} answer */
                    const request = (answer) => {
                        /** @type {{result: any, onsuccess: (() => void) | null}} */
                        const asked = { result: undefined, onsuccess: null };
                        ++pending;
                        setTimeout(() => {
                            asked.result = answer();
                            asked.onsuccess?.();
                            if (--pending === 0)
                                setTimeout(finish, 0);
                        }, 0);
                        return asked;
                    };
                    /** @param {any} key @returns {any[]} */
                    const keys = (key) => key instanceof KeyRange ? [...store.keys()].filter((k) => key.includes(k)) : [key];
                    return {
                        /** @param {any} key */
                        get: (key) => request(() => store.get(key)),
                        /** @param {any} key */
                        getAll: (key) => request(() => keys(key).sort((a, b) => a - b).map((k) => store.get(k))),
                        /** @param {any} value @param {any} key */
                        put: (value, key) => request(() => { wrote = true; store.set(key, value); }),
                        /** @param {any} key */
                        delete: (key) => request(() => { wrote = true; keys(key).forEach((k) => store.delete(k)); }),
                        clear: () => request(() => { wrote = true; store.clear(); }),
                    };
                },
            };
            function finish() {
                if (pending > 0 || done)
                    return;
                done = true;
                if (wrote && database.full)
                    return transaction.onabort?.();
                stores.character = staged.character;
                stores.steps = staged.steps;
                transaction.oncomplete?.();
            }
            // A transaction that asks nothing completes all the same.
            setTimeout(() => pending === 0 && finish(), 0);
            return transaction;
        },
    };
    return database;
}
