// The platform layers live in this library; each has its own file.
namespace ostrovik::platform {
}
