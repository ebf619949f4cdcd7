// The room's physics world in the run loop: made when a room starts, bodies
// for instances of objects with physics, the physics step in place of
// motion, and collision events from touching bodies.
#pragma once

class CInstance;
class CPhysicsFixture;
class CPhysicsWorld;
class CRoom;

// Makes the room's world from its definition when it has none yet.
void Run_PhysicsRoomStart(CRoom* room);
// Gives an instance of an object with physics its body in the current
// room's world (errors reported, not fatal).
void Run_PhysicsMakeBody(CInstance* inst);
// Binds a fixture to an instance in the world; null or the reason.
const char* Run_PhysicsBind(CPhysicsWorld* world, const CPhysicsFixture& fixture, CInstance* inst);
// Whether the current room's world steps this step (it exists, not paused).
bool Run_PhysicsActive();
// Advances the current room's world by one game step and puts each bound
// instance where its body is.
void Run_PhysicsStep();
// Runs the collision events of the touching bodies' instances.
void Run_PhysicsCollisions();
// After a saved game was loaded: the worlds and bodies made again.
void Run_PhysicsAfterLoad();
